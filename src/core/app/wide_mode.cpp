#include "core/app/wide_mode.h"

#include <algorithm>

namespace pellix::app {

std::size_t LongestItemBytes(const lists::ItemList& items) {
  std::size_t longest = 0;
  items.ForEach([&longest](std::string_view item) { longest = std::max(longest, item.size()); });
  return longest;
}

int WideListWidth(std::size_t bytes) {
  const auto halves = static_cast<long long>(bytes) * 13;  // bytes × 6.5, counted in halves
  long long width = halves / 2;
  if (halves % 2 != 0 && width % 2 != 0) {
    ++width;  // an exact half goes to the even neighbour
  }
  return static_cast<int>(std::min<long long>(width, 1'000'000'000));
}

std::optional<int> WideWindowWidth(const WideModeInput& input) {
  int width = input.windowWidth;
  if (!input.checked) {
    width = kNarrowWindowWidth;
  } else {
    const long long lacking =
        static_cast<long long>(WideListWidth(input.longestBytes)) - input.listWidth;
    if (lacking >= 1) {
      const long long room = static_cast<long long>(input.workAreaRight) - input.windowLeft;
      const long long grown = std::min(input.windowWidth + lacking, room);
      width = static_cast<int>(std::max<long long>(input.windowWidth, grown));
    }
  }
  if (width == input.windowWidth) {
    return std::nullopt;
  }
  return width;
}

}  // namespace pellix::app
