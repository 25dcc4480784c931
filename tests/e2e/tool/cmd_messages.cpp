// Commands that send or post messages to other windows, show, hide and close them.
#include <windows.h>
// Needs the types of windows.h.
#include <shellapi.h>

#include <commctrl.h>

#include <cwchar>
#include <string>

#include "base.h"
#include "commands.h"
#include "window_basics.h"

namespace pxtool {
namespace {

struct NamedMessage {
  const wchar_t* name;
  UINT value;
};

constexpr NamedMessage kMessages[] = {
    {L"WM_NULL", WM_NULL},
    {L"WM_CLOSE", WM_CLOSE},
    {L"WM_QUIT", WM_QUIT},
    {L"WM_QUERYENDSESSION", WM_QUERYENDSESSION},
    {L"WM_ENDSESSION", WM_ENDSESSION},
    {L"WM_KEYDOWN", WM_KEYDOWN},
    {L"WM_KEYUP", WM_KEYUP},
    {L"WM_CHAR", WM_CHAR},
    {L"WM_SYSKEYDOWN", WM_SYSKEYDOWN},
    {L"WM_SYSKEYUP", WM_SYSKEYUP},
    {L"WM_COMMAND", WM_COMMAND},
    {L"WM_SYSCOMMAND", WM_SYSCOMMAND},
    {L"WM_TIMER", WM_TIMER},
    {L"WM_LBUTTONDOWN", WM_LBUTTONDOWN},
    {L"WM_LBUTTONUP", WM_LBUTTONUP},
    {L"WM_LBUTTONDBLCLK", WM_LBUTTONDBLCLK},
    {L"WM_RBUTTONDOWN", WM_RBUTTONDOWN},
    {L"WM_RBUTTONUP", WM_RBUTTONUP},
    {L"WM_HOTKEY", WM_HOTKEY},
    {L"WM_USER", WM_USER},
    {L"WM_APP", WM_APP},
    {L"BM_CLICK", BM_CLICK},
    {L"LB_SETCURSEL", LB_SETCURSEL},
    {L"LB_SETSEL", LB_SETSEL},
    {L"LB_SETCARETINDEX", LB_SETCARETINDEX},
    {L"CB_SETCURSEL", CB_SETCURSEL},
    {L"LVM_ENSUREVISIBLE", LVM_ENSUREVISIBLE},
};

// A number, a known name, or NAME+N (WM_APP+1).
UINT ParseMessage(const std::wstring& text) {
  if (auto value = ParseUnsigned(text)) {
    return static_cast<UINT>(*value);
  }
  const size_t plus = text.find(L'+');
  const std::wstring name = text.substr(0, plus);
  UINT offset = 0;
  if (plus != std::wstring::npos) {
    offset = static_cast<UINT>(ParseInteger(text.substr(plus + 1), L"MSG"));
  }
  for (const auto& message : kMessages) {
    if (_wcsicmp(message.name, name.c_str()) == 0) {
      return message.value + offset;
    }
  }
  Usage(L"unknown message: " + text);
}

struct NamedShowCommand {
  const wchar_t* name;
  int value;
};

constexpr NamedShowCommand kShowCommands[] = {
    {L"hide", SW_HIDE},         {L"shownormal", SW_SHOWNORMAL},
    {L"normal", SW_NORMAL},     {L"showminimized", SW_SHOWMINIMIZED},
    {L"maximize", SW_MAXIMIZE}, {L"shownoactivate", SW_SHOWNOACTIVATE},
    {L"show", SW_SHOW},         {L"minimize", SW_MINIMIZE},
    {L"showna", SW_SHOWNA},     {L"restore", SW_RESTORE},
};

int ParseShowCommand(const std::wstring& text) {
  if (auto value = ParseUnsigned(text)) {
    return static_cast<int>(*value);
  }
  for (const auto& command : kShowCommands) {
    if (_wcsicmp(command.name, text.c_str()) == 0) {
      return command.value;
    }
  }
  Usage(L"unknown show command: " + text);
}

void PostOrSend(const Args& args, JsonWriter& json, bool send) {
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  const UINT msg = ParseMessage(args.At(1, L"MSG"));
  const auto wparam = static_cast<WPARAM>(ParseInteger(args.At(2, L"WPARAM"), L"WPARAM"));
  const auto lparam = static_cast<LPARAM>(ParseInteger(args.At(3, L"LPARAM"), L"LPARAM"));
  json.BeginObject().Key("hwnd").UInt(HwndValue(hwnd)).Key("msg").UInt(msg);
  if (send) {
    const auto timeout = static_cast<UINT>(args.Number(L"timeout", kDefaultSendTimeoutMs));
    // Timed in here, so that a test can tell the target's answer from the cost of starting us;
    // the tick of the answer compares with the ticks other commands report.
    const ULONGLONG start = GetTickCount64();
    json.Key("result").Int(Send(hwnd, msg, wparam, lparam, timeout));
    const ULONGLONG answered = GetTickCount64();
    json.Key("elapsed_ms").UInt(answered - start).Key("tick").UInt(answered);
  } else if (!PostMessageW(hwnd, msg, wparam, lparam)) {
    FailWin32(L"PostMessageW");
  }
  json.Key("ok").Bool(true).EndObject();
}

}  // namespace

void CmdPost(const Args& args, JsonWriter& json) {
  PostOrSend(args, json, false);
}

void CmdSend(const Args& args, JsonWriter& json) {
  PostOrSend(args, json, true);
}

// Shows or hides another program's window as that program itself would: the window's own thread
// does it, so the window gets WM_SHOWWINDOW. Asynchronous, so a hung target cannot stall us; the
// wait for the result is bounded.
void CmdShow(const Args& args, JsonWriter& json) {
  HWND hwnd = ParseHwnd(args.At(0, L"HWND"));
  const int command = ParseShowCommand(args.At(1, L"SW"));
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG deadline = start + args.Number(L"timeout", kDefaultWaitMs);
  if (!ShowWindowAsync(hwnd, command)) {
    FailWin32(L"ShowWindowAsync");
  }
  const bool minimized =
      command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE;
  auto done = [&] {
    if (command == SW_HIDE) {
      return !IsWindowVisible(hwnd);
    }
    if (minimized) {
      return IsIconic(hwnd) != FALSE;
    }
    return IsWindowVisible(hwnd) && !IsIconic(hwnd);
  };
  while (!done()) {
    if (GetTickCount64() >= deadline) {
      Fail(L"the window did not take the new show state in time", 3);
    }
    Sleep(kPollMs / 4);
  }
  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(hwnd))
      .Key("visible")
      .Bool(IsWindowVisible(hwnd) != FALSE)
      .Key("iconic")
      .Bool(IsIconic(hwnd) != FALSE)
      .Key("elapsed_ms")
      .UInt(GetTickCount64() - start)
      .EndObject();
}

// What a user's click on the close box does, for every visible top-level window of a process.
void CmdClose(const Args& args, JsonWriter& json) {
  const auto pid = args.Option(L"pid");
  if (!pid) {
    Usage(L"close needs --pid");
  }
  const auto wanted = static_cast<DWORD>(ParseInteger(*pid, L"--pid"));
  json.BeginObject().Key("closed").BeginArray();
  for (HWND hwnd : TopLevelWindows(false)) {
    if (PidOf(hwnd) == wanted && IsWindowVisible(hwnd) && PostMessageW(hwnd, WM_CLOSE, 0, 0)) {
      json.UInt(HwndValue(hwnd));
    }
  }
  json.EndArray().EndObject();
}

// The number the system gives a registered window message, such as "TaskbarCreated".
void CmdMessageId(const Args& args, JsonWriter& json) {
  const std::wstring name = args.At(0, L"NAME");
  json.BeginObject().Key("id").UInt(RegisterWindowMessageW(name.c_str())).EndObject();
}

// Removes another program's notification icon, as a crashing task bar would lose it.
void CmdTrayDelete(const Args& args, JsonWriter& json) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = ParseHwnd(args.At(0, L"HWND"));
  data.uID = static_cast<UINT>(ParseInteger(args.At(1, L"UID"), L"UID"));
  json.BeginObject().Key("ok").Bool(Shell_NotifyIconW(NIM_DELETE, &data) != FALSE).EndObject();
}

}  // namespace pxtool
