#pragma once
// Hints shown when the pointer rests on a control.

#include <windows.h>

namespace pellix::win32 {

// A tooltip window for the controls of `parent`; it lives as long as `parent`.
HWND CreateTooltips(HWND parent, DWORD extraStyle = 0);

// Shows `text` over `control` (a child of `parent`); the tooltip watches the control's mouse
// messages itself. `text` must outlive the tool.
void AddTooltip(HWND tooltips, HWND parent, HWND control, const wchar_t* text);

}  // namespace pellix::win32
