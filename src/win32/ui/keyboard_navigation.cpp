#include "win32/ui/keyboard_navigation.h"

#include <commctrl.h>

#include <cwctype>
#include <string>

namespace pellix::win32 {
namespace {

bool BelongsTo(HWND window, HWND control) {
  return control != nullptr && GetAncestor(control, GA_ROOT) == window;
}

// The child of `window` that holds `control` (a control may have children of its own).
HWND DirectChild(HWND window, HWND control) {
  while (control != nullptr && GetParent(control) != window) {
    control = GetParent(control);
  }
  return control;
}

// The letter after a single '&' in a caption, upper-cased; 0 when it has none.
wchar_t MnemonicOf(const std::wstring& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] == L'&') {
      if (caption[i + 1] != L'&') {
        return static_cast<wchar_t>(std::towupper(caption[i + 1]));
      }
      ++i;  // "&&" is a literal ampersand
    }
  }
  return 0;
}

std::wstring CaptionOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return text;
}

}  // namespace

bool MoveFocusByTab(HWND window, const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
      !BelongsTo(window, message.hwnd) || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) {
    return false;
  }
  const HWND current = DirectChild(window, GetFocus());
  const bool backwards = GetKeyState(VK_SHIFT) < 0;
  if (const HWND next = GetNextDlgTabItem(window, current, backwards ? TRUE : FALSE)) {
    SetFocus(next);
  }
  return true;
}

bool PressMnemonic(HWND window, const MSG& message) {
  if (message.message != WM_SYSCHAR || !BelongsTo(window, message.hwnd)) {
    return false;
  }
  const auto key = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(message.wParam)));
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (CompareStringOrdinal(className, -1, WC_BUTTONW, -1, TRUE) != CSTR_EQUAL ||
        !IsWindowVisible(child) || !IsWindowEnabled(child) || MnemonicOf(CaptionOf(child)) != key) {
      continue;
    }
    SetFocus(child);
    SendMessageW(child, BM_CLICK, 0, 0);
    return true;
  }
  return false;
}

}  // namespace pellix::win32
