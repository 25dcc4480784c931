#pragma once
// A window that is no dialog loses its focused control when a message box or another window
// takes the activation; this gives it back when the window is active again.

#include <windows.h>

namespace pellix::win32 {

class KeptFocus {
 public:
  // For WM_ACTIVATE of `window`: remembers the focused control on leaving, and on coming back
  // focuses it again (or `first` when none was remembered).
  void OnActivate(HWND window, WPARAM wParam, HWND first) {
    if (LOWORD(wParam) == WA_INACTIVE) {
      if (const HWND focus = GetFocus(); focus != nullptr && IsChild(window, focus)) {
        control_ = focus;
      }
    } else {
      SetFocus(control_ != nullptr ? control_ : first);
    }
  }
  // The control to come back to, set by the window itself (the field a message was about).
  void Set(HWND control) { control_ = control; }

 private:
  HWND control_ = nullptr;
};

}  // namespace pellix::win32
