#pragma once
// A popup menu of commands opened at a point: the menu's own message loop counts as one of the
// program's modal loops, and the command picked runs once the menu has closed, unless the
// program is closing meanwhile.

#include <windows.h>

#include "win32/ui/command_table.h"
#include "win32/ui/modal_loops.h"

namespace pellix::win32 {

void RunPopupMenu(ModalLoops& loops, const CommandTable& commands, HMENU menu, POINT point,
                  HWND owner, UINT flags);

}  // namespace pellix::win32
