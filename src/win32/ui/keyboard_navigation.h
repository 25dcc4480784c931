#pragma once
// The keys a dialog gives its controls, for the main window, which cannot go through
// IsDialogMessage: its lists take Enter and Space themselves, and the dialog manager would turn
// Enter into a command of its own.

#include <windows.h>

namespace pellix::win32 {

// Tab and Shift+Tab within `window`: the focus moves to the next or the previous control that
// takes it, in the order the controls were created. True when the message was such a key.
bool MoveFocusByTab(HWND window, const MSG& message);

// Alt and the underlined letter of a button's caption within `window`: that button is pressed,
// a check box flipped. True when a button had that letter.
bool PressMnemonic(HWND window, const MSG& message);

}  // namespace pellix::win32
