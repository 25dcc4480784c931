#pragma once
// The system's font and file-open dialogs, from a library loaded the first time one of them is
// opened: the library brings the printing system with it (under Wine, a dozen Linux libraries
// and megabytes of memory), which a program that lives all day in the notification area should
// not carry for a dialog the user may never open.

#include <windows.h>
// Needs the types of windows.h.
#include <commdlg.h>

namespace pellix::win32 {

// As ChooseFontW and GetOpenFileNameW; FALSE (as a cancel) when the library cannot be loaded.
BOOL ChooseFontDialog(CHOOSEFONTW* choose);
BOOL OpenFileDialog(OPENFILENAMEW* open);

}  // namespace pellix::win32
