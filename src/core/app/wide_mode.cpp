#include "core/app/wide_mode.h"

namespace pellix::app {

std::optional<int> WideWindowWidth(const WideModeInput& input) {
  // 6.5 × m = 13m / 2: an odd 13m is an exact half, which goes to the even neighbour.
  const std::size_t twice = input.longestItemBytes * 13;
  std::size_t wanted = twice / 2;
  if (twice % 2 == 1 && wanted % 2 == 1) {
    ++wanted;
  }
  const long long grow = static_cast<long long>(wanted) - input.listWidth;
  if (grow < 1) {
    return std::nullopt;
  }
  if (input.windowLeft + input.windowWidth + grow > input.workAreaRight) {
    return input.workAreaRight - input.windowLeft;
  }
  return static_cast<int>(input.windowWidth + grow);
}

}  // namespace pellix::app
