#include "core/app/wide_mode.h"

#include <gtest/gtest.h>

namespace pellix::app {
namespace {

TEST(WideWindowWidth, GrowsByWhatTheLongestItemLacksAndNeverNarrows) {
  // 40 single-byte characters ask for a list 260 pixels wide.
  EXPECT_EQ(WideWindowWidth({40, 249, 621, 257, 1280}), 257 + 11);
  EXPECT_EQ(WideWindowWidth({40, 259, 0, 257, 1280}), 258);  // one pixel is enough to grow
  EXPECT_FALSE(WideWindowWidth({40, 260, 0, 257, 1280}));
  EXPECT_FALSE(WideWindowWidth({10, 249, 0, 257, 1280}));
  EXPECT_FALSE(WideWindowWidth({0, 249, 0, 257, 1280}));  // an empty list
}

TEST(WideWindowWidth, HalvesGoToTheEvenNeighbour) {
  // 3 bytes: 19.5 → 20; 5 bytes: 32.5 → 32; 7 bytes: 45.5 → 46.
  EXPECT_EQ(WideWindowWidth({3, 0, 0, 100, 1000}), 120);
  EXPECT_EQ(WideWindowWidth({5, 0, 0, 100, 1000}), 132);
  EXPECT_EQ(WideWindowWidth({7, 0, 0, 100, 1000}), 146);
}

TEST(WideWindowWidth, StopsAtTheWorkAreasRightEdge) {
  EXPECT_EQ(WideWindowWidth({400, 249, 1000, 257, 1280}), 280);
  EXPECT_EQ(WideWindowWidth({40, 249, 1012, 257, 1280}), 268);  // exactly reaches the edge
}

}  // namespace
}  // namespace pellix::app
