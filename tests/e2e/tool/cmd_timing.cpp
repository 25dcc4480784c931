// Commands that time pellix from the outside as a user feels it: how long a copy takes to show in
// its list, how long a paste takes to arrive, and how long its window keeps a message waiting.
// Times are in microseconds, measured inside Wine so that no process start or pipe round trip is
// counted.
#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>

#include <string>
#include <vector>

#include "actors.h"
#include "base.h"
#include "clipboard.h"
#include "commands.h"
#include "window_basics.h"

namespace pxtool {
namespace {

long long NowMicroseconds() {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER value{};
    QueryPerformanceFrequency(&value);
    return value.QuadPart;
  }();
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  return static_cast<long long>(now.QuadPart * 1000000 / frequency);
}

// Microseconds since 1970 by the wall clock, which Wine takes from the same clock as Linux
// programs: a time another process on the X side can compare with its own.
long long WallMicroseconds() {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  const unsigned long long ticks =
      (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  constexpr unsigned long long kEpochTicks = 116444736000000000ULL;  // 1601 to 1970, in 100 ns
  return static_cast<long long>((ticks - kEpochTicks) / 10);
}

int ItemCount(HWND list) {
  return static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0));
}

// Waits, asking about once a millisecond, until the list holds more than `count` items; false
// when `timeout_ms` ran out first. Our own messages are answered meanwhile: the clipboard's owner
// window is ours, and under Wine whoever opens the clipboard waits for its owner to answer.
bool WaitForCountAbove(HWND list, int count, int timeout_ms) {
  const long long deadline = NowMicroseconds() + timeout_ms * 1000LL;
  while (ItemCount(list) <= count) {
    if (NowMicroseconds() > deadline) {
      return false;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageW(&msg);
    }
  }
  return true;
}

void SetClipboardText(HWND owner, const std::wstring& text) {
  const ClipboardOpening opening(owner);
  if (!EmptyClipboard()) {
    FailWin32(L"EmptyClipboard");
  }
  HGLOBAL block = GlobalCopy(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  if (SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
    GlobalFree(block);
    FailWin32(L"SetClipboardData");
  }
}

// A text no earlier round used, `size` characters long, so no list drops it as a repeat.
std::wstring RoundText(int round, int size) {
  std::wstring text =
      L"timing " + std::to_wstring(GetTickCount64()) + L" " + std::to_wstring(round) + L" ";
  while (static_cast<int>(text.size()) < size) {
    text += static_cast<wchar_t>(L'a' + text.size() % 26);
  }
  return text;
}

}  // namespace

// capture-latency HWND: the copy is made here, and the time runs until the list view HWND shows
// one more item.
void CmdCaptureLatency(const Args& args, JsonWriter& json) {
  const HWND list = ParseHwnd(args.At(0, L"HWND"));
  const int rounds =
      static_cast<int>(ParseInteger(args.Option(L"rounds").value_or(L"20"), L"--rounds"));
  const int size = static_cast<int>(ParseInteger(args.Option(L"size").value_or(L"100"), L"--size"));
  const int gap_ms = static_cast<int>(ParseInteger(args.Option(L"gap").value_or(L"100"), L"--gap"));
  const OwnerWindow owner;
  json.BeginObject().Key("us").BeginArray();
  for (int round = 0; round < rounds; ++round) {
    const int before = ItemCount(list);
    const std::wstring text = RoundText(round, size);
    const long long start = NowMicroseconds();
    SetClipboardText(owner.get(), text);
    if (!WaitForCountAbove(list, before, 5000)) {
      Fail(L"the list did not grow within 5 s of round " + std::to_wstring(round), 3);
    }
    json.Int(NowMicroseconds() - start);
    Sleep(static_cast<DWORD>(gap_ms));
  }
  json.EndArray().EndObject();
}

// watch-count HWND --rounds R: an actor for copies made by a program outside Wine. For each round
// it announces the list view's item count, then waits until the list holds more and announces the
// wall-clock time it saw that; whoever drives it makes the copy after reading the count.
void CmdWatchCount(const Args& args, JsonWriter& json) {
  const HWND list = ParseHwnd(args.At(0, L"HWND"));
  const int rounds =
      static_cast<int>(ParseInteger(args.Option(L"rounds").value_or(L"1"), L"--rounds"));
  const int timeout_ms =
      static_cast<int>(ParseInteger(args.Option(L"timeout").value_or(L"5000"), L"--timeout"));
  for (int round = 0; round < rounds; ++round) {
    const int count = ItemCount(list);
    JsonWriter waiting;
    waiting.BeginObject().Key("round").Int(round).Key("count").Int(count).EndObject();
    Announce(waiting);
    if (!WaitForCountAbove(list, count, timeout_ms)) {
      Fail(L"the list did not grow in time", 3);
    }
    JsonWriter seen;
    seen.BeginObject().Key("round").Int(round).Key("wall_us").Int(WallMicroseconds()).EndObject();
    Announce(seen);
  }
  json.BeginObject().Key("rounds").Int(rounds).EndObject();
}

// wait-visible --class NAME: an actor that announces itself, then reports the wall-clock time at
// which a visible top-level window of that class first appeared, looking every millisecond: the
// end of a program's start-up as its user sees it; and the time at which that window first
// answered a message, from when on it takes the user's input.
void CmdWaitVisible(const Args& args, JsonWriter& json) {
  const std::wstring class_name = args.Option(L"class").value_or(L"");
  if (class_name.empty()) {
    Usage(L"wait-visible needs --class");
  }
  const int timeout_ms =
      static_cast<int>(ParseInteger(args.Option(L"timeout").value_or(L"30000"), L"--timeout"));
  JsonWriter ready;
  ready.BeginObject().Key("ready").Bool(true).EndObject();
  Announce(ready);
  const long long deadline = NowMicroseconds() + timeout_ms * 1000LL;
  HWND found = nullptr;
  for (;;) {
    found = FindWindowW(class_name.c_str(), nullptr);
    if (found != nullptr && IsWindowVisible(found)) {
      break;
    }
    if (NowMicroseconds() > deadline) {
      Fail(L"no visible window of that class in time", 3);
    }
    Sleep(1);
  }
  const long long visible = WallMicroseconds();
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(found, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeout_ms),
                          &result) == 0) {
    Fail(L"the window did not answer in time", 3);
  }
  json.BeginObject()
      .Key("wall_us")
      .Int(visible)
      .Key("answered_us")
      .Int(WallMicroseconds())
      .EndObject();
}

// paste-latency EDIT LENGTH [--shift]: Enter (Shift+Enter with --shift) typed into the window in
// front, pellix's list, as the user presses it there; the time runs until the edit control EDIT
// (notepad's, cleared before) holds LENGTH characters.
void CmdPasteLatency(const Args& args, JsonWriter& json) {
  const HWND edit = ParseHwnd(args.At(0, L"EDIT"));
  const auto length = static_cast<LRESULT>(ParseInteger(args.At(1, L"LENGTH"), L"LENGTH"));
  const int timeout_ms =
      static_cast<int>(ParseInteger(args.Option(L"timeout").value_or(L"10000"), L"--timeout"));
  std::vector<WORD> keys;
  if (args.Flag(L"shift")) {
    keys.push_back(VK_SHIFT);
  }
  keys.push_back(VK_RETURN);
  std::vector<INPUT> inputs;
  for (const WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    down.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    inputs.push_back(down);
  }
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
    INPUT up{};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = *key;
    up.ki.wScan = static_cast<WORD>(MapVirtualKeyW(*key, MAPVK_VK_TO_VSC));
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(up);
  }
  const long long start = NowMicroseconds();
  if (SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != inputs.size()) {
    FailWin32(L"SendInput");
  }
  const long long deadline = start + timeout_ms * 1000LL;
  while (Send(edit, WM_GETTEXTLENGTH, 0, 0) < length) {
    if (NowMicroseconds() > deadline) {
      Fail(L"the text did not arrive in time", 3);
    }
    Sleep(1);
  }
  json.BeginObject().Key("us").Int(NowMicroseconds() - start).EndObject();
}

// message-stall HWND --ms M: for M milliseconds, sends the window WM_NULL again and again and
// reports the longest time one of them waited for an answer, and how many were sent.
void CmdMessageStall(const Args& args, JsonWriter& json) {
  const HWND window = ParseHwnd(args.At(0, L"HWND"));
  const int duration_ms =
      static_cast<int>(ParseInteger(args.Option(L"ms").value_or(L"5000"), L"--ms"));
  std::vector<long long> waits;
  const long long end = NowMicroseconds() + duration_ms * 1000LL;
  while (NowMicroseconds() < end) {
    const long long start = NowMicroseconds();
    Send(window, WM_NULL, 0, 0, 10000);
    waits.push_back(NowMicroseconds() - start);
    Sleep(1);
  }
  long long longest = 0;
  for (const long long wait : waits) {
    longest = wait > longest ? wait : longest;
  }
  json.BeginObject().Key("longest_us").Int(longest).Key("count").UInt(waits.size()).EndObject();
}

}  // namespace pxtool
