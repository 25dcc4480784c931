#pragma once
// Enter in a window that is no dialog but runs through IsDialogMessage: the push button that has
// the focus is pressed, as in a dialog; with the focus anywhere else, the window's default button.

#include <windows.h>

namespace pellix::win32 {

// The answer to DM_GETDEFID.
inline LRESULT DefaultButtonAnswer(HWND window, int defaultId) {
  const HWND focus = GetFocus();
  if (focus != nullptr && GetParent(focus) == window &&
      (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON)) !=
          0) {
    return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
  }
  return MAKELRESULT(defaultId, DC_HASDEFID);
}

}  // namespace pellix::win32
