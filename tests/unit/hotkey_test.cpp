#include "core/app/hotkey.h"

#include <gtest/gtest.h>

namespace pellix::app {
namespace {

TEST(HotkeyMenuPosition, MapsTheFiveModifierSetsAndNothingElse) {
  for (int position = 0; position < 5; ++position) {
    EXPECT_EQ(HotkeyMenuPosition(kHotkeyModsByMenuPosition[static_cast<std::size_t>(position)]),
              position);
  }
  EXPECT_EQ(HotkeyMenuPosition(2), 0);  // Ctrl+ is the first item
  EXPECT_EQ(HotkeyMenuPosition(3), 4);  // Ctrl+Alt the last
  EXPECT_FALSE(HotkeyMenuPosition(0));
  EXPECT_FALSE(HotkeyMenuPosition(8));  // the Windows key is no choice of the menu
}

TEST(HotkeyLetterFromEntry, TakesOneByteAndCapitalisesLetters) {
  EXPECT_EQ(HotkeyLetterFromEntry("b"), 'B');
  EXPECT_EQ(HotkeyLetterFromEntry("Z"), 'Z');
  EXPECT_EQ(HotkeyLetterFromEntry("7"), '7');
  EXPECT_EQ(HotkeyLetterFromEntry("@"), '@');        // used unchanged as the key code
  EXPECT_EQ(HotkeyLetterFromEntry("\xB1"), '\xB1');  // a half-width katakana is one byte
  EXPECT_FALSE(HotkeyLetterFromEntry(""));
  EXPECT_FALSE(HotkeyLetterFromEntry("ab"));
  EXPECT_FALSE(HotkeyLetterFromEntry("\x82\x60"));  // Ａ: one character, two bytes
}

}  // namespace
}  // namespace pellix::app
