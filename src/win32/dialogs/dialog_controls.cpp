#include "win32/dialogs/dialog_controls.h"

#include <algorithm>

#include "win32/platform/wide_string.h"
#include "win32/ui/error_reporter.h"
#include "win32/ui/fonts.h"

namespace pellix::win32 {

HWND CreateControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                   int id, RECT bounds, int dpi, HFONT font) {
  const HWND control = CreateWindowExW(
      0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, Scale(bounds.left, dpi),
      Scale(bounds.top, dpi), Scale(bounds.right - bounds.left, dpi),
      Scale(bounds.bottom - bounds.top, dpi), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

std::wstring ControlText(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  const int length = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(length, 0)));
  return text;
}

void ShowRefusal(ModalLoops& loops, HWND owner, const list_admin::Refusal& refusal) {
  const UINT icon = refusal.box == list_admin::BoxKind::kError ? MB_ICONERROR : MB_ICONWARNING;
  ShowBox(loops, owner, ToWide(refusal.message).c_str(), kAppTitle, MB_OKCANCEL | icon);
}

}  // namespace pellix::win32
