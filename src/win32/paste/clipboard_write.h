#pragma once
// Putting a text on the clipboard: one opening, one change notice.

#include <windows.h>

#include <string_view>

namespace pellix::win32 {

// Stores the text as CF_UNICODETEXT; the platform makes CF_TEXT from it for programs that ask
// for that. Throws ClipboardError when the clipboard cannot be opened or written.
void WriteClipboardText(HWND owner, std::u16string_view text);

}  // namespace pellix::win32
