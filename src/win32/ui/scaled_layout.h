#pragma once
// The controls of a window with a fixed layout, placed from their rectangles at 96 dpi: moved,
// given the window's font and widened for their captions at whatever dpi the window stands at.

#include <windows.h>

#include <vector>

namespace pellix::win32 {

class ScaledLayout {
 public:
  void Add(HWND control, RECT design) { controls_.push_back(Placed{control, design}); }

  // Places every control for `dpi` and draws it with `font`. A caption that would be cut widens
  // its control, but not past the client area's right margin.
  void Apply(HWND parent, int dpi, HFONT font) const;

 private:
  struct Placed {
    HWND control;
    RECT design;
  };
  std::vector<Placed> controls_;
};

}  // namespace pellix::win32
