#include "win32/paste/key_input.h"

#include <windows.h>

namespace pellix::win32 {
namespace {

bool Down(int key) {
  return (GetAsyncKeyState(key) & 0x8000) != 0;
}

// The right-hand Ctrl and Alt and both Windows keys are extended keys: sent without the flag,
// the right ones would arrive as their left twins and the user's key would stay down.
bool Extended(WORD key) {
  return key == VK_RCONTROL || key == VK_RMENU || key == VK_LWIN || key == VK_RWIN;
}

INPUT ToInput(const paste::KeyEvent& event) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  if (event.key == 0) {
    input.ki.wScan = event.unit;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
  } else {
    input.ki.wVk = event.key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(event.key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = Extended(event.key) ? KEYEVENTF_EXTENDEDKEY : 0;
  }
  if (event.up) {
    input.ki.dwFlags |= KEYEVENTF_KEYUP;
  }
  return input;
}

}  // namespace

paste::HeldKeys HeldModifiers() {
  paste::HeldKeys held;
  for (const std::uint16_t key : paste::kModifierKeys) {
    if (Down(key)) {
      held.push_back(key);
    }
  }
  return held;
}

bool EscapeDown() {
  return Down(VK_ESCAPE);
}

void SendKeyEvents(const std::vector<paste::KeyEvent>& events) {
  std::vector<INPUT> inputs;
  inputs.reserve(events.size());
  for (const paste::KeyEvent& event : events) {
    inputs.push_back(ToInput(event));
  }
  if (inputs.empty()) {
    return;
  }
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent >= inputs.size()) {
    return;
  }
  // The keyboard is the whole desktop's: a key of ours left down (the input was cut off by
  // another program's) would hold Ctrl for everything the user types next. What comes up later
  // in the events still comes up.
  std::vector<INPUT> releases;
  for (std::size_t i = sent; i < inputs.size(); ++i) {
    if ((inputs[i].ki.dwFlags & KEYEVENTF_KEYUP) != 0 && events[i].key != 0) {
      releases.push_back(inputs[i]);
    }
  }
  if (!releases.empty()) {
    SendInput(static_cast<UINT>(releases.size()), releases.data(), sizeof(INPUT));
  }
}

}  // namespace pellix::win32
