#pragma once
// Captions are drawn in whatever font stands in for the Japanese system's, and a stand-in may be
// wider than the font the layout was drawn for: a button, check box or label that would cut its
// caption is made wide enough for it.

#include <windows.h>

namespace pellix::win32 {

// The width `control` needs to show its whole caption in its own font at `dpi`: the text, and
// for a check box its box and the gap before the text, for a button its edges.
int CaptionWidth(HWND control, int dpi);

// `bounds` widened to the right as far as the caption needs; never narrowed.
RECT WidenForCaption(HWND control, RECT bounds, int dpi);

}  // namespace pellix::win32
