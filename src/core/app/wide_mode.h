#pragma once
// The wide mode: the window grows to show the longest item of the ordinary list whole.

#include <cstddef>
#include <optional>

namespace pellix::app {

inline constexpr int kNarrowWindowWidth = 240;

struct WideModeInput {
  std::size_t longestItemBytes = 0;  // code page 932 bytes: a two-byte character counts 2
  int listWidth = 0;
  int windowLeft = 0;
  int windowWidth = 0;
  int workAreaRight = 0;
};

// The window width the wide mode asks for, or nothing when the window is wide enough already
// (the wide mode never narrows it). 6.5 pixels a byte, an exact half rounded to the even
// neighbour; the window never grows past the work area's right edge.
std::optional<int> WideWindowWidth(const WideModeInput& input);

}  // namespace pellix::app
