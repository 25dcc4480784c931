#include <gtest/gtest.h>

#include "core/app/list_tooltip.h"
#include "core/app/wide_mode.h"

namespace pellix::app {
namespace {

// The line that stands for the lines left out, without its trailing blank.
const std::string kMoreLines =
    "\x81\x69\x88\xC8\x89\xBA\x97\xAA\x81\x6A\x81\x40\x81\x45\x20"
    "\x81\x45\x20\x81\x45\x20\x81\x45\x20\x81\x45\x20\x81\x45\x20"
    "\x81\x45\x20\x81\x45";

TEST(AnsiTooltipText, UpToFiveLinesShowTheItemAsItIs) {
  for (const std::string item :
       {"", "one", "a\r\nb\r\nc\r\nd\r\ne", "a\nb\rc\r\nd\ne\r\n", "tail  \t", "x\r\n\r\n"}) {
    EXPECT_EQ(AnsiTooltipText(item), item) << item;
  }
}

TEST(AnsiTooltipText, SixLinesOrMoreShowTheFirstFiveAndAMark) {
  EXPECT_EQ(AnsiTooltipText("1\r\n2\r\n3\r\n4\r\n5\r\n6"),
            "1\r\n2\r\n3\r\n4\r\n5\r\n" + kMoreLines);
  // Any line break counts; the lines are joined by CR LF.
  EXPECT_EQ(AnsiTooltipText("1\n2\r3\n4\r\n5 \n6\n7\n8"),
            "1\r\n2\r\n3\r\n4\r\n5 \r\n" + kMoreLines);
  // Two-byte lines (あ, い...) are cut by whole lines only.
  EXPECT_EQ(AnsiTooltipText("\x82\xA0\n\x82\xA2\n\x82\xA4\n\x82\xA6\n\x82\xA8\n\x82\xA9"),
            "\x82\xA0\r\n\x82\xA2\r\n\x82\xA4\r\n\x82\xA6\r\n\x82\xA8\r\n" + kMoreLines);
  EXPECT_EQ(AnsiTooltipText("\n\n\n\n\n\n"), "\r\n\r\n\r\n\r\n\r\n" + kMoreLines);
  EXPECT_EQ(kMoreLines + " ", std::string(kMoreLinesLine));
}

TEST(LongestItemBytes, CountsTwoByteCharactersTwice) {
  EXPECT_EQ(LongestItemBytes({}), 0u);
  EXPECT_EQ(LongestItemBytes({"abcd", "\x82\xA0\x82\xA2\x82\xA4", ""}), 6u);
}

TEST(WideListWidth, SixAndAHalfPixelsABytesHalvesToTheEvenNeighbour) {
  const std::pair<std::size_t, int> widths[] = {{0, 0},  {1, 6},  {2, 13},   {3, 20},
                                                {5, 32}, {7, 46}, {40, 260}, {41, 266}};
  for (const auto& [bytes, width] : widths) {
    EXPECT_EQ(WideListWidth(bytes), width) << bytes;
  }
}

TEST(WideWindowWidth, GrowsToTheLongestItemWithinTheWorkArea) {
  struct Case {
    const char* what;
    WideModeInput input;
    std::optional<int> width;
  };
  const Case cases[] = {
      {"40 bytes ask for 260 pixels: 11 more", {true, 40, 249, 621, 257, 1920}, 268},
      {"not past the right edge", {true, 40, 249, 1660, 257, 1920}, 260},
      {"a work area that does not start at 0", {true, 100, 249, 100, 257, 500}, 400},
      {"a list wide enough stays", {true, 20, 249, 621, 257, 1920}, std::nullopt},
      {"exactly wide enough", {true, 38, 247, 621, 257, 1920}, std::nullopt},
      {"one pixel short", {true, 38, 246, 621, 257, 1920}, 258},
      {"already at the edge", {true, 80, 249, 1663, 257, 1920}, std::nullopt},
      {"past the edge: never narrower", {true, 80, 249, 1800, 257, 1920}, std::nullopt},
      {"an empty list", {true, 0, 249, 621, 257, 1920}, std::nullopt},
      {"unchecked: 240", {false, 80, 500, 621, 508, 1920}, 240},
      {"unchecked and already 240", {false, 80, 232, 621, 240, 1920}, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WideWindowWidth(c.input), c.width) << c.what;
  }
}

}  // namespace
}  // namespace pellix::app
