#pragma once
// The wide mode: the main window grows so that the longest item of the ordinary list fits.

#include <cstddef>
#include <optional>

#include "core/lists/list_file.h"

namespace pellix::app {

inline constexpr int kNarrowWindowWidth = 240;

// The greatest length in bytes of `items` (a two-byte character counts 2); 0 for no items.
std::size_t LongestItemBytes(const lists::ItemList& items);

// The list width, in pixels, that an item of `bytes` bytes asks for: bytes × 6.5, a half
// rounded to the even neighbour.
int WideListWidth(std::size_t bytes);

struct WideModeInput {
  bool checked = false;          // the "wide" box
  std::size_t longestBytes = 0;  // LongestItemBytes of the ordinary list shown
  int listWidth = 0;
  int windowLeft = 0;
  int windowWidth = 0;
  int workAreaRight = 0;  // the right edge of the screen's work area
};

// The main window's new width, or nullopt when it keeps its width. Checked: the window grows by
// what the list lacks, but not past the work area's right edge, and never narrows. Unchecked:
// 240. Only a width that differs from the present one is returned, so the caller marks its own
// resize (wideResize) only when a resize will really follow.
std::optional<int> WideWindowWidth(const WideModeInput& input);

}  // namespace pellix::app
