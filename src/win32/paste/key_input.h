#pragma once
// The keyboard as the paste sees it and types on it: which modifiers are down, and the key
// events sent to whatever window is in front.

#include <vector>

#include "core/paste/key_events.h"

namespace pellix::win32 {

// The modifier keys down now, as the system's input has them (GetAsyncKeyState).
paste::HeldKeys HeldModifiers();
bool EscapeDown();

// The events as keyboard input: keys by their virtual-key codes, characters as Unicode packets.
void SendKeyEvents(const std::vector<paste::KeyEvent>& events);

}  // namespace pellix::win32
