#pragma once
// The window pastes go to, and the keys that paste into it.

#include <windows.h>

#include <initializer_list>

namespace pellix::win32 {

// The focused control of the program in front, else its top-level window, else `current`;
// our own list window and the windows named in `excluded` never become the target.
HWND TrackForeground(HWND current, std::initializer_list<HWND> excluded);

// Brings the target's top-level window to the front, waits (briefly, bounded) until it is
// there, then types Ctrl+V, and a Tab in tab mode. Returns false, typing nothing, when the
// target cannot be brought to the front.
bool PasteToTarget(HWND target, bool sendTab);

// Handles the messages waiting in this thread's queue.
void PumpWaitingMessages();

}  // namespace pellix::win32
