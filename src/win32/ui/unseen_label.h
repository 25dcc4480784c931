#pragma once
// Screen readers name a field by the label just before it among its window's controls. A field
// that has no label on the screen gets one that takes no room.

#include <windows.h>

namespace pellix::win32 {

// A label of no size in `parent`, for the control created next.
inline HWND AddUnseenLabel(HWND parent, const wchar_t* name) {
  return CreateWindowExW(0, L"Static", name, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0,
                         0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace pellix::win32
