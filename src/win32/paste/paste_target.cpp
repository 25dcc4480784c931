#include "win32/paste/paste_target.h"

#include <array>

namespace pellix::win32 {
namespace {

constexpr DWORD kForegroundWaitMs = 1000;
constexpr DWORD kForegroundPollMs = 10;

bool Usable(HWND window, std::initializer_list<HWND> excluded) {
  if (window == nullptr || !IsWindowVisible(window)) {
    return false;
  }
  for (const HWND other : excluded) {
    if (window == other) {
      return false;
    }
  }
  return true;
}

void SendKeys(std::initializer_list<WORD> pressThenRelease) {
  std::array<INPUT, 8> inputs{};
  UINT count = 0;
  for (const WORD key : pressThenRelease) {
    inputs[count].type = INPUT_KEYBOARD;
    inputs[count].ki.wVk = key;
    ++count;
  }
  for (auto key = pressThenRelease.end(); key != pressThenRelease.begin();) {
    --key;
    inputs[count].type = INPUT_KEYBOARD;
    inputs[count].ki.wVk = *key;
    inputs[count].ki.dwFlags = KEYEVENTF_KEYUP;
    ++count;
  }
  SendInput(count, inputs.data(), sizeof(INPUT));
}

}  // namespace

HWND TrackForeground(HWND current, std::initializer_list<HWND> excluded) {
  HWND candidate = current;
  const HWND foreground = GetForegroundWindow();
  if (Usable(foreground, excluded)) {
    candidate = foreground;
  }
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(0, &info) && Usable(info.hwndFocus, excluded)) {
    candidate = info.hwndFocus;
  }
  return candidate;
}

void PumpWaitingMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // leave it for the main loop
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool PasteToTarget(HWND target, bool sendTab) {
  if (target == nullptr || !IsWindow(target)) {
    return false;
  }
  // The focus window is usually a child; only a top-level window can be brought to the front,
  // and the focus comes back to the child with it.
  const HWND topLevel = GetAncestor(target, GA_ROOT);
  if (!SetForegroundWindow(topLevel)) {
    return false;
  }
  // The switch can complete asynchronously: keys sent before it would go to the old window.
  for (DWORD waited = 0; GetForegroundWindow() != topLevel && waited < kForegroundWaitMs;
       waited += kForegroundPollMs) {
    PumpWaitingMessages();
    Sleep(kForegroundPollMs);
  }
  if (GetForegroundWindow() != topLevel) {
    return false;  // keys now would land in whatever window is in front instead
  }
  PumpWaitingMessages();
  SendKeys({VK_CONTROL, 'V'});
  PumpWaitingMessages();
  if (sendTab) {
    SendKeys({VK_TAB});
  }
  return true;
}

}  // namespace pellix::win32
