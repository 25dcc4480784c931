#pragma once
// The one-line question box: a prompt, a field and OK / キャンセル, modal to its owner and on
// top of every other window. The owner may be hidden (a question asked from the tray menu); the
// box then stands in the middle of the screen the mouse pointer is on.
//
// Other programs find it by its window class "InputDialog": its field is its only Edit child
// (kIdInputField in control_ids.h) and its buttons are IDOK and IDCANCEL, so WM_SETTEXT and
// BM_CLICK drive it.

#include <windows.h>

#include <optional>
#include <string>

namespace pellix::win32 {

// Asks for one line of text, offering `initialText` all selected; nullopt when the user cancels
// (キャンセル, Esc, the close box) or the program is ending. Throws when the box cannot be made;
// an exception raised while it runs closes it and is rethrown here.
std::optional<std::wstring> AskText(HWND owner, const std::wstring& caption,
                                    const std::wstring& prompt, const std::wstring& initialText);

}  // namespace pellix::win32
