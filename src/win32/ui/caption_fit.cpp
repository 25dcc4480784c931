#include "win32/ui/caption_fit.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "win32/platform/dpi.h"
#include "win32/platform/gdi.h"

namespace pellix::win32 {
namespace {

enum class Kind { kCheck, kPush, kLabel, kOther };

Kind KindOf(HWND control) {
  wchar_t name[32] = {};
  GetClassNameW(control, name, 32);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  if (CompareStringOrdinal(name, -1, WC_BUTTONW, -1, TRUE) == CSTR_EQUAL) {
    switch (style & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return Kind::kCheck;
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        return (style & (BS_ICON | BS_BITMAP)) != 0 ? Kind::kOther : Kind::kPush;
      default:
        return Kind::kOther;
    }
  }
  if (CompareStringOrdinal(name, -1, WC_STATICW, -1, TRUE) == CSTR_EQUAL) {
    const DWORD type = style & SS_TYPEMASK;
    return type == SS_LEFT || type == SS_LEFTNOWORDWRAP || type == SS_CENTER || type == SS_RIGHT
               ? Kind::kLabel
               : Kind::kOther;
  }
  return Kind::kOther;
}

std::wstring CaptionOf(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      std::max(0, GetWindowTextW(control, text.data(), static_cast<int>(text.size())))));
  return text;
}

// The text as the control draws it: one line, with its mnemonic marks taken out unless the
// control shows them as they are.
int TextWidth(HWND control, const std::wstring& text, bool noPrefix) {
  const WindowDc dc(control);
  if (dc.Get() == nullptr) {
    return 0;
  }
  const SelectedObject font(dc.Get(),
                            reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT extent{0, 0, 0, 0};
  DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent,
            DT_CALCRECT | DT_SINGLELINE | (noPrefix ? DT_NOPREFIX : 0));
  return extent.right - extent.left;
}

}  // namespace

int CaptionWidth(HWND control, int dpi) {
  const Kind kind = KindOf(control);
  if (kind == Kind::kOther) {
    return 0;
  }
  const std::wstring text = CaptionOf(control);
  if (text.empty()) {
    return 0;
  }
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
  const bool noPrefix = kind == Kind::kLabel && (style & SS_NOPREFIX) != 0;
  const int textWidth = TextWidth(control, text, noPrefix);
  switch (kind) {
    case Kind::kCheck: {
      // The box as the theme draws it, the gap after it, and room for the focus rectangle.
      const int box = std::max(MetricAt(SM_CXMENUCHECK, dpi), Scale(13, dpi));
      return box + Scale(6, dpi) + textWidth;
    }
    case Kind::kPush:
      return textWidth + Scale(12, dpi);
    default:
      return textWidth + 1;
  }
}

RECT WidenForCaption(HWND control, RECT bounds, int dpi) {
  const int needed = CaptionWidth(control, dpi);
  if (bounds.right - bounds.left < needed) {
    bounds.right = bounds.left + needed;
  }
  return bounds;
}

}  // namespace pellix::win32
