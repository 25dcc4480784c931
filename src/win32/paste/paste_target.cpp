#include "win32/paste/paste_target.h"

#include <array>
#include <initializer_list>

namespace pellix::win32 {
namespace {

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

void TypePasteKeys(bool sendTab) {
  SendKeys({VK_CONTROL, 'V'});
  if (sendTab) {
    SendKeys({VK_TAB});
  }
}

}  // namespace pellix::win32
