#include "win32/ui/scaled_layout.h"

#include <algorithm>

#include "win32/platform/dpi.h"
#include "win32/ui/caption_fit.h"

namespace pellix::win32 {

void ScaledLayout::Apply(HWND parent, int dpi, HFONT font) const {
  RECT client{};
  GetClientRect(parent, &client);
  const LONG rightLimit = client.right - Scale(4, dpi);
  for (const Placed& placed : controls_) {
    // The font first: the caption is measured in it.
    SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const RECT scaled = Scale(placed.design, dpi);
    RECT bounds = WidenForCaption(placed.control, scaled, dpi);
    bounds.right = std::max(scaled.right, std::min(bounds.right, rightLimit));
    SetWindowPos(placed.control, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(parent, nullptr, TRUE);
}

}  // namespace pellix::win32
