// Commands that bring a window to the front and type into whatever is in front.
#include <windows.h>

#include <cwctype>
#include <string>
#include <vector>

#include "base.h"
#include "commands.h"
#include "window_basics.h"

namespace pxtool {
namespace {

void WriteForeground(JsonWriter& json) {
  HWND foreground = GetForegroundWindow();
  json.Key("foreground").UInt(HwndValue(foreground));
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  const DWORD tid = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  if (tid != 0 && GetGUIThreadInfo(tid, &info)) {
    json.Key("focus")
        .UInt(HwndValue(info.hwndFocus))
        .Key("active")
        .UInt(HwndValue(info.hwndActive));
  } else {
    json.Key("focus").UInt(0).Key("active").UInt(0);
  }
}

struct NamedKey {
  const wchar_t* name;
  WORD vk;
  bool extended;
};

constexpr NamedKey kKeys[] = {
    {L"enter", VK_RETURN, false},   {L"return", VK_RETURN, false}, {L"tab", VK_TAB, false},
    {L"esc", VK_ESCAPE, false},     {L"escape", VK_ESCAPE, false}, {L"space", VK_SPACE, false},
    {L"backspace", VK_BACK, false}, {L"delete", VK_DELETE, true},  {L"del", VK_DELETE, true},
    {L"insert", VK_INSERT, true},   {L"home", VK_HOME, true},      {L"end", VK_END, true},
    {L"pageup", VK_PRIOR, true},    {L"pagedown", VK_NEXT, true},  {L"up", VK_UP, true},
    {L"down", VK_DOWN, true},       {L"left", VK_LEFT, true},      {L"right", VK_RIGHT, true},
    {L"apps", VK_APPS, true},       {L"ctrl", VK_CONTROL, false},  {L"control", VK_CONTROL, false},
    {L"shift", VK_SHIFT, false},    {L"alt", VK_MENU, false},      {L"win", VK_LWIN, true},
};

NamedKey KeyFromName(const std::wstring& name) {
  std::wstring lower;
  for (wchar_t c : name) {
    lower += static_cast<wchar_t>(std::towlower(c));
  }
  for (const auto& key : kKeys) {
    if (lower == key.name) {
      return key;
    }
  }
  if (lower.size() == 1 &&
      ((lower[0] >= L'a' && lower[0] <= L'z') || (lower[0] >= L'0' && lower[0] <= L'9'))) {
    return {L"", static_cast<WORD>(std::towupper(lower[0])), false};
  }
  if (lower.size() >= 2 && lower[0] == L'f') {
    if (auto n = ParseUnsigned(lower.substr(1)); n && *n >= 1 && *n <= 24) {
      return {L"", static_cast<WORD>(VK_F1 + *n - 1), false};
    }
  }
  Usage(L"unknown key: " + name);
}

// "ctrl+shift+tab" as its keys, in the order they go down.
std::vector<NamedKey> ParseChord(const std::wstring& text) {
  std::vector<NamedKey> chord;
  size_t begin = 0;
  while (begin <= text.size()) {
    size_t plus = text.find(L'+', begin);
    // "ctrl++" means the plus key; only a trailing plus can be one.
    if (plus == begin && plus + 1 == text.size()) {
      plus = std::wstring::npos;
    }
    const std::wstring part =
        text.substr(begin, plus == std::wstring::npos ? std::wstring::npos : plus - begin);
    if (part == L"+") {
      chord.push_back({L"", VK_OEM_PLUS, false});
    } else {
      chord.push_back(KeyFromName(part));
    }
    if (plus == std::wstring::npos) {
      break;
    }
    begin = plus + 1;
  }
  return chord;
}

INPUT KeyInput(const NamedKey& key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key.vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key.vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (key.extended ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

bool SameKey(const KEYBDINPUT& a, const KEYBDINPUT& b) {
  constexpr DWORD kIdentity = KEYEVENTF_UNICODE | KEYEVENTF_EXTENDEDKEY;
  return a.wVk == b.wVk && a.wScan == b.wScan && (a.dwFlags & kIdentity) == (b.dwFlags & kIdentity);
}

// The keyboard is the whole desktop's: a key left down by us would be held for every program
// after us (a stuck Ctrl turns the next typed "v" into a paste). Every key a command presses
// comes up again, also when the system takes only part of the input.
void SendInputs(const std::vector<INPUT>& inputs) {
  if (inputs.empty()) {
    return;
  }
  const UINT sent =
      SendInput(static_cast<UINT>(inputs.size()), const_cast<INPUT*>(inputs.data()), sizeof(INPUT));
  if (sent == inputs.size()) {
    return;
  }
  const DWORD error = GetLastError();
  std::vector<INPUT> releases;
  for (UINT i = 0; i < sent; ++i) {
    const KEYBDINPUT& key = inputs[i].ki;
    if ((key.dwFlags & KEYEVENTF_KEYUP) != 0) {
      continue;
    }
    bool released = false;
    for (UINT later = i + 1; later < sent && !released; ++later) {
      released =
          (inputs[later].ki.dwFlags & KEYEVENTF_KEYUP) != 0 && SameKey(inputs[later].ki, key);
    }
    if (!released) {
      INPUT up = inputs[i];
      up.ki.dwFlags |= KEYEVENTF_KEYUP;
      releases.push_back(up);
    }
  }
  if (!releases.empty()) {
    SendInput(static_cast<UINT>(releases.size()), releases.data(), sizeof(INPUT));
  }
  SetLastError(error);
  FailWin32(L"SendInput");
}

}  // namespace

void CmdForeground(const Args& args, JsonWriter& json) {
  HWND root = GetAncestor(ParseHwnd(args.At(0, L"HWND")), GA_ROOT);
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG deadline = start + args.Number(L"timeout", 2000);
  ULONGLONG next_try = start;
  bool ok = false;
  // Wine switches the foreground asynchronously; ask again now and then in case a request is
  // lost while the target is still busy.
  while (!(ok = GetForegroundWindow() == root) && GetTickCount64() < deadline) {
    if (GetTickCount64() >= next_try) {
      SetForegroundWindow(root);
      next_try = GetTickCount64() + 500;
    }
    Sleep(10);
  }
  json.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(root))
      .Key("ok")
      .Bool(ok)
      .Key("x11")
      .UInt(X11WindowOf(root))
      .Key("elapsed_ms")
      .UInt(GetTickCount64() - start);
  WriteForeground(json);
  json.EndObject();
}

void CmdGetForeground(const Args&, JsonWriter& json) {
  HWND foreground = GetForegroundWindow();
  json.BeginObject();
  WriteForeground(json);
  json.Key("window");
  if (foreground != nullptr) {
    WriteTopLevel(json, foreground);
  } else {
    json.Null();
  }
  json.EndObject();
}

// Each argument is one chord such as ctrl+v or shift+tab; chords are sent one after another.
void CmdKeys(const Args& args, JsonWriter& json) {
  if (args.positional().empty()) {
    Usage(L"keys needs at least one CHORD");
  }
  std::vector<std::vector<NamedKey>> chords;
  for (const std::wstring& text : args.positional()) {
    chords.push_back(ParseChord(text));
  }
  for (const auto& chord : chords) {
    std::vector<INPUT> inputs;
    for (const auto& key : chord) {
      inputs.push_back(KeyInput(key, false));
    }
    for (auto it = chord.rbegin(); it != chord.rend(); ++it) {
      inputs.push_back(KeyInput(*it, true));
    }
    SendInputs(inputs);
  }
  json.BeginObject().Key("ok").Bool(true).EndObject();
}

// Characters as such, whatever the keyboard layout: the target gets WM_CHAR for each.
void CmdType(const Args& args, JsonWriter& json) {
  const std::wstring& text = args.At(0, L"TEXT");
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    for (bool up : {false, true}) {
      INPUT input = {};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = static_cast<WORD>(c);
      input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
      inputs.push_back(input);
    }
  }
  SendInputs(inputs);
  json.BeginObject().Key("ok").Bool(true).EndObject();
}

}  // namespace pxtool
