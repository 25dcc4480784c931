// hold-clipboard: a program that keeps the clipboard open for a while, as slow programs do.
#include <windows.h>

#include <optional>
#include <string>

#include "base.h"
#include "clipboard.h"
#include "commands.h"

namespace pxtool {
namespace {

// The second opening of hold-clipboard, on a thread of its own. After a change it is already
// asking for the clipboard again and again when the first opening closes, so that it has it back
// before anyone who hears of the change can try.
//
// The clipboard owner window lives on this thread too: under Wine each OpenClipboard first syncs
// with the clipboard's owner window by a message, and an owner on a thread that is busy waiting
// would hold that message up for seconds. This thread opens with no window, though: an opening
// that names the window the clipboard is already open with would be let in at once.
//
// Wine's sync also means the holder is not quite what it is on Windows: it only delays the others
// by answering, and a holder that stopped answering would delay them itself.
struct Holder {
  HANDLE ready = nullptr;    // set once the owner window exists (or could not be made)
  HANDLE closing = nullptr;  // set while the first opening holds the text; none for a plain hold
  HWND owner = nullptr;
  volatile LONG close_returned = 0;
  volatile LONG tries = 0;
  ULONGLONG hold_ms = 0;
  bool opened = false;
  bool before_close_returned = false;
  long long attempts = 0;
  ULONGLONG opened_tick = 0;
  ULONGLONG released_tick = 0;
};

DWORD WINAPI HoldThread(void* param) {
  Holder& holder = *static_cast<Holder*>(param);
  const HANDLE closing = holder.closing;
  holder.owner = CreateWindowExW(0, L"STATIC", L"pxtool clipboard owner", 0, 0, 0, 0, 0,
                                 HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  const HWND owner = holder.owner;
  SetEvent(holder.ready);
  if (owner == nullptr) {
    return 1;
  }
  const bool go = closing == nullptr || WaitForSingleObject(closing, 10000) == WAIT_OBJECT_0;
  const ULONGLONG give_up = GetTickCount64() + 2000;
  while (go) {
    ++holder.attempts;
    InterlockedIncrement(&holder.tries);
    if (OpenClipboard(nullptr)) {
      holder.before_close_returned = InterlockedCompareExchange(&holder.close_returned, 0, 0) == 0;
      holder.opened = true;
      break;
    }
    if (GetTickCount64() >= give_up) {
      break;
    }
    if (closing == nullptr) {
      Sleep(20);
    }
  }
  if (holder.opened) {
    holder.opened_tick = GetTickCount64();
    const ULONGLONG until = holder.opened_tick + holder.hold_ms;
    // Messages are answered all along: everyone else's OpenClipboard syncs with the owner window
    // first, and an owner that stopped answering would hold their attempts up (for seconds) where
    // Windows would simply refuse them.
    for (ULONGLONG now = holder.opened_tick; now < until; now = GetTickCount64()) {
      MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(until - now), QS_ALLINPUT,
                                  MWMO_INPUTAVAILABLE);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
      }
    }
    CloseClipboard();
    holder.released_tick = GetTickCount64();
  }
  DestroyWindow(owner);
  return 0;
}

}  // namespace

// Holds the clipboard open for a while, as a slow program does. With --set, the text is put on the
// clipboard first and the clipboard is taken again as that opening closes: the change notice goes
// out at that close, so the viewers handle it while the clipboard is held again. The ticks are
// GetTickCount64 values, comparable with those a viewer logs and `send` reports.
void CmdHoldClipboard(const Args& args, JsonWriter& json) {
  const long long hold_ms = args.Number(L"ms", -1);
  if (hold_ms < 0) {
    Usage(L"hold-clipboard needs --ms N");
  }
  const auto text = args.Option(L"set");
  Holder holder;
  holder.hold_ms = static_cast<ULONGLONG>(hold_ms);
  Handle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  Handle closing(text ? CreateEventW(nullptr, TRUE, FALSE, nullptr) : nullptr);
  if (ready.get() == nullptr || (text && closing.get() == nullptr)) {
    FailWin32(L"CreateEventW");
  }
  holder.ready = ready.get();
  holder.closing = closing.get();
  Handle thread(CreateThread(nullptr, 0, HoldThread, &holder, 0, nullptr));
  if (thread.get() == nullptr) {
    FailWin32(L"CreateThread");
  }
  // From here on the thread uses the holder, so every way out waits for it first.
  auto finish = [&] {
    if (closing.get() != nullptr) {
      SetEvent(closing.get());
    }
    return WaitForSingleObject(thread.get(), static_cast<DWORD>(hold_ms) + 15000) == WAIT_OBJECT_0;
  };
  if (WaitForSingleObject(ready.get(), 10000) != WAIT_OBJECT_0 || holder.owner == nullptr) {
    finish();
    Fail(L"could not make the clipboard owner window");
  }
  std::optional<ULONGLONG> changed;
  if (text) {
    if (!TryOpenClipboard(holder.owner, 100, 20)) {
      const DWORD error = GetLastError();
      finish();
      SetLastError(error);
      FailWin32(L"OpenClipboard");
    }
    const HGLOBAL block = GlobalCopy(text->c_str(), (text->size() + 1) * sizeof(wchar_t));
    const bool set = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!set) {
      GlobalFree(block);
    }
    SetEvent(closing.get());
    // Close only once the other thread is knocking.
    const ULONGLONG give_up = GetTickCount64() + 2000;
    while (InterlockedCompareExchange(&holder.tries, 0, 0) < 2 && GetTickCount64() < give_up) {
      SwitchToThread();
    }
    changed = GetTickCount64();
    CloseClipboard();
    InterlockedExchange(&holder.close_returned, 1);
    if (!set) {
      finish();
      Fail(L"could not put the text on the clipboard");
    }
  }
  const DWORD sequence = GetClipboardSequenceNumber();
  if (!finish()) {
    Fail(L"the clipboard was not released in time");
  }
  if (!holder.opened) {
    Fail(L"could not open the clipboard (again)");
  }
  json.BeginObject().Key("sequence").UInt(sequence).Key("changed_tick");
  if (changed) {
    json.UInt(*changed);
  } else {
    json.Null();
  }
  json.Key("held_tick")
      .UInt(holder.opened_tick)
      .Key("released_tick")
      .UInt(holder.released_tick)
      .Key("held_ms")
      .UInt(holder.released_tick - holder.opened_tick)
      .Key("attempts")
      .Int(holder.attempts)
      .Key("reopen_ms");
  if (changed) {
    json.UInt(holder.opened_tick - *changed)
        .Key("before_close_returned")
        .Bool(holder.before_close_returned);
  } else {
    json.Null().Key("before_close_returned").Null();
  }
  json.EndObject();
}

}  // namespace pxtool
