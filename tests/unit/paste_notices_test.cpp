// What the user is told when a paste's keys could not land, and the tip while a text is typed.
#include <gtest/gtest.h>

#include "core/app/paste_notices.h"

namespace pellix::app {
namespace {

using paste::Outcome;

constexpr Outcome kFailures[] = {Outcome::kNoTarget, Outcome::kTargetGone, Outcome::kNotInFront,
                                 Outcome::kElevated, Outcome::kLostFront};

bool Has(const std::u16string& text, std::u16string_view part) {
  return text.find(part) != std::u16string::npos;
}

TEST(PasteFailureNotice, EveryFailureSaysWhatHappenedAndWhereTheTextIs) {
  for (const Outcome outcome : kFailures) {
    const std::optional<PasteNotice> pasted = PasteFailureNotice(outcome, false);
    const std::optional<PasteNotice> typed = PasteFailureNotice(outcome, true);
    ASSERT_TRUE(pasted && typed);
    // A paste put the text on the clipboard; a typing never touched it.
    EXPECT_TRUE(Has(pasted->balloon.text, u"クリップボードにある"));
    EXPECT_TRUE(Has(pasted->balloon.text, u"Ctrl+V"));
    EXPECT_FALSE(Has(typed->balloon.text, u"クリップボードにある"));
    EXPECT_NE(pasted->balloon.title, typed->balloon.title);
    // The balloon's fields hold 63 and 255 characters, the tip 127.
    for (const PasteNotice* notice : {&*pasted, &*typed}) {
      EXPECT_LE(notice->balloon.title.size(), 63u);
      EXPECT_LE(notice->balloon.text.size(), 255u);
      EXPECT_LE(notice->tip.size(), kTipLength);
      EXPECT_EQ(notice->tip.rfind(PlainTip(), 0), 0u) << "the tip still names the program";
    }
  }
  // Each failure in its own words.
  EXPECT_NE(PasteFailureNotice(Outcome::kTargetGone, false)->balloon.text,
            PasteFailureNotice(Outcome::kNotInFront, false)->balloon.text);
  EXPECT_TRUE(Has(PasteFailureNotice(Outcome::kElevated, false)->balloon.text, u"管理者"));
  EXPECT_TRUE(Has(PasteFailureNotice(Outcome::kTargetGone, false)->tip, u"閉じられ"));
}

TEST(PasteFailureNotice, NothingToTellWhenTheKeysArrivedOrTheUserStoppedThem) {
  EXPECT_FALSE(PasteFailureNotice(Outcome::kDelivered, false));
  EXPECT_FALSE(PasteFailureNotice(Outcome::kDelivered, true));
  EXPECT_FALSE(PasteFailureNotice(Outcome::kCancelled, true));
}

TEST(PasteFailureNotice, AnInterruptedTypingSaysHowFarItCame) {
  const std::optional<PasteNotice> notice =
      PasteFailureNotice(Outcome::kLostFront, true, 1200, 12345);
  ASSERT_TRUE(notice);
  EXPECT_TRUE(Has(notice->balloon.text, u"1,200 / 12,345 文字"));
  EXPECT_TRUE(Has(notice->tip, u"1,200 / 12,345 文字"));
  // Before the first key there is nothing to count.
  EXPECT_FALSE(Has(PasteFailureNotice(Outcome::kTargetGone, true, 0, 40)->balloon.text, u"文字"));
}

TEST(TypingTip, QuietForASecondThenTheCountAFewTimesASecond) {
  TypingTip tip(1000);
  EXPECT_EQ(tip.At(100, 5000, 1000), std::nullopt);
  EXPECT_EQ(tip.At(900, 5000, 1999), std::nullopt);
  const std::optional<std::u16string> first = tip.At(1000, 5000, 2000);
  ASSERT_TRUE(first);
  EXPECT_EQ(*first, PlainTip() + u"\nキー入力中 1,000 / 5,000 文字（Esc で中止）");
  EXPECT_EQ(tip.At(1010, 5000, 2100), std::nullopt);  // not renewed at every slice
  const std::optional<std::u16string> later = tip.At(1300, 5000, 2250);
  ASSERT_TRUE(later);
  EXPECT_TRUE(Has(*later, u"1,300 / 5,000"));
  EXPECT_LE(tip.At(999'999'999, 999'999'999, 9000)->size(), kTipLength);
}

}  // namespace
}  // namespace pellix::app
