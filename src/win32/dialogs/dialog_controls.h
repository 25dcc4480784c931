#pragma once
// What the two filter dialogs share: their controls laid out at 96 dpi and scaled, the text of
// a field, and the box of a refusal.

#include <windows.h>

#include <string>

#include "core/list_admin/refusal.h"
#include "win32/ui/modal_loops.h"

namespace pellix::win32 {

// A visible child control at `bounds` (96 dpi) in `parent`, drawn with `font`.
HWND CreateControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                   int id, RECT bounds, int dpi, HFONT font);

std::wstring ControlText(HWND control);

// The refusal's message in its box, OK and Cancel; either button only closes it.
void ShowRefusal(ModalLoops& loops, HWND owner, const list_admin::Refusal& refusal);

}  // namespace pellix::win32
