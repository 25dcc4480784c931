#pragma once
// The keys that paste.

#include <windows.h>

namespace pellix::win32 {

// Ctrl+V, and a Tab in tab mode, into whatever window is in front.
void TypePasteKeys(bool sendTab);

}  // namespace pellix::win32
