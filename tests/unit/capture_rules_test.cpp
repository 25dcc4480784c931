#include "core/capture/capture_rules.h"

#include <gtest/gtest.h>

namespace pellix::capture {
namespace {

TEST(TextToCapture, RefusesEmptyBareLineBreakAndRepeats) {
  EXPECT_FALSE(TextToCapture("", "x"));
  EXPECT_FALSE(TextToCapture("\r\n", "x"));
  EXPECT_FALSE(TextToCapture("same", "same"));
  EXPECT_EQ(TextToCapture("\r\n\r\n", "x"), "\r\n\r\n");
  EXPECT_EQ(TextToCapture("new", "old"), "new");
}

TEST(TextToCapture, CutsAtTenThousandCharactersNeverInsideOne) {
  const std::string exact(kMaxCaptureChars, 'a');
  EXPECT_EQ(TextToCapture(exact, ""), exact);
  EXPECT_EQ(TextToCapture(exact + "b", ""), exact);
  // 9,999 kanji and two more: the cut keeps 10,000 characters, 20,000 bytes.
  std::string kanji;
  for (std::size_t i = 0; i < kMaxCaptureChars + 1; ++i) {
    kanji += "\x8A\xBF";
  }
  EXPECT_EQ(TextToCapture(kanji, "")->size(), 2 * kMaxCaptureChars);
  // One ASCII letter first: the 10,000th character is still a whole kanji.
  EXPECT_EQ(TextToCapture("a" + kanji, "")->size(), 1 + 2 * (kMaxCaptureChars - 1));
  // The repeat check compares the whole text, so a long text copied twice is taken twice.
  const std::string cut = *TextToCapture(exact + "b", "");
  EXPECT_TRUE(TextToCapture(exact + "b", cut));
}

}  // namespace
}  // namespace pellix::capture
