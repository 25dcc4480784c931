// hold-hotkey and key-log: programs that take a global hotkey first, or watch every key.
#include <windows.h>

#include <string>

#include "actors.h"
#include "base.h"
#include "commands.h"
#include "window_basics.h"

namespace pxtool {
namespace {

// A low-level keyboard hook gets no context of its own, so the log it writes to is the one thing
// this file keeps beside the call stack; only key-log sets it, for as long as its hook is in.
HANDLE g_key_log = INVALID_HANDLE_VALUE;

LRESULT CALLBACK KeyLogHook(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && g_key_log != INVALID_HANDLE_VALUE) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    JsonWriter line;
    line.BeginObject()
        .Key("vk")
        .UInt(event->vkCode)
        .Key("up")
        .Bool(wparam == WM_KEYUP || wparam == WM_SYSKEYUP)
        .Key("injected")
        .Bool((event->flags & LLKHF_INJECTED) != 0)
        .EndObject();
    const std::string text = line.str() + "\n";
    DWORD written = 0;
    WriteFile(g_key_log, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

class KeyboardHook {
 public:
  explicit KeyboardHook(HANDLE log) {
    g_key_log = log;
    hook_ = SetWindowsHookExW(WH_KEYBOARD_LL, KeyLogHook, GetModuleHandleW(nullptr), 0);
    if (hook_ == nullptr) {
      g_key_log = INVALID_HANDLE_VALUE;
      FailWin32(L"SetWindowsHookExW");
    }
  }
  KeyboardHook(const KeyboardHook&) = delete;
  KeyboardHook& operator=(const KeyboardHook&) = delete;
  ~KeyboardHook() {
    UnhookWindowsHookEx(hook_);
    g_key_log = INVALID_HANDLE_VALUE;
  }

 private:
  HHOOK hook_;
};

}  // namespace

// Holds a global hotkey for a while, as another program would, so that pellix cannot have it.
// Prints its window and whether the registration succeeded, then runs until --seconds are over
// or the window gets WM_CLOSE.
void CmdHoldHotkey(const Args& args, JsonWriter& json) {
  const auto mods = static_cast<UINT>(args.Number(L"mods", MOD_CONTROL));
  const auto vk = static_cast<UINT>(args.Number(L"vk", 'A'));
  const ULONGLONG deadline = DeadlineIn(args.Number(L"seconds", 60));
  const HiddenWindow window(L"pxtool hotkey");
  const bool registered = RegisterHotKey(window.get(), 1, mods, vk) != FALSE;
  JsonWriter hello;
  hello.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(window.get()))
      .Key("registered")
      .Bool(registered)
      .EndObject();
  Announce(hello);
  PumpUntil(deadline);
  UnregisterHotKey(window.get(), 1);
  json.BeginObject().Key("released").Bool(true).EndObject();
}

// Logs every key event that reaches the system's input, one JSON line each (virtual key, up or
// down, injected or not), for --seconds or until its window gets WM_CLOSE: a way to see keys that
// a program sends on its own.
void CmdKeyLog(const Args& args, JsonWriter& json) {
  const auto path = args.Option(L"log");
  if (!path) {
    Usage(L"key-log needs --log PATH");
  }
  const ULONGLONG deadline = DeadlineIn(args.Number(L"seconds", 60));
  const Handle log(OpenLog(*path));
  const HiddenWindow window(L"pxtool key log");
  {
    const KeyboardHook hook(log.get());
    JsonWriter hello;
    hello.BeginObject().Key("hwnd").UInt(HwndValue(window.get())).Key("hooked").Bool(true);
    hello.EndObject();
    Announce(hello);
    PumpUntil(deadline);
  }
  json.BeginObject().Key("unhooked").Bool(true).EndObject();
}

}  // namespace pxtool
