#include "win32/ui/popup_menu.h"

namespace pellix::win32 {

void RunPopupMenu(ModalLoops& loops, const CommandTable& commands, HMENU menu, POINT point,
                  HWND owner, UINT flags) {
  UINT command = 0;
  {
    const ModalLoops::Scope scope(loops);
    command = static_cast<UINT>(
        TrackPopupMenu(menu, flags | TPM_RETURNCMD, point.x, point.y, 0, owner, nullptr));
  }
  if (command != 0 && !loops.Closing()) {
    commands.Execute(command);
  }
}

}  // namespace pellix::win32
