#pragma once
// Hints shown when the pointer rests on a control.

#include <windows.h>

namespace pellix::win32 {

// A tooltip window that shows the hints of any of the program's controls (the window's own and
// those of the windows it owns); it lives as long as `parent`, which owns it.
HWND CreateTooltips(HWND parent, DWORD extraStyle = 0);

// Shows `text` over `control` (a child of `parent`, which is told of the tool); the tooltip watches
// the control's mouse messages itself. `text` must outlive the tool.
void AddTooltip(HWND tooltips, HWND parent, HWND control, const wchar_t* text);

}  // namespace pellix::win32
