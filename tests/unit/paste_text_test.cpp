#include "core/paste/paste_text.h"

#include <gtest/gtest.h>

namespace pellix::paste {
namespace {

using Items = std::vector<std::string>;
using WideItems = std::vector<std::u16string>;

constexpr int kNone = 0;
constexpr int kTab = 2;
constexpr int kSpace = 3;
constexpr int kComma = 4;
constexpr int kLineBreak = 5;
constexpr int kNoSeparator = 7;
constexpr int kRedirect = 9;

TEST(BuildAnsiPasteText, JoinsUnderEachOption) {
  EXPECT_EQ(BuildAnsiPasteText({"a ", "b"}, kTab), "a\tb\t");
  EXPECT_EQ(BuildAnsiPasteText({"x", "y"}, kLineBreak), "x\r\ny\r\n");
  EXPECT_EQ(BuildAnsiPasteText({"x", "y"}, kNone), "x\r\ny");
  EXPECT_EQ(BuildAnsiPasteText({"a\r\n", " b "}, kNoSeparator), "a b");
  EXPECT_EQ(BuildAnsiPasteText({"p\t\x01", "q"}, kSpace), "p q ");
  EXPECT_EQ(BuildAnsiPasteText({"1", "2 "}, kComma), "1,2,");
  EXPECT_EQ(BuildAnsiPasteText({}, kNone), "");
  EXPECT_EQ(BuildAnsiPasteText({"   "}, kTab), "\t");
}

TEST(BuildAnsiPasteText, NoCheckOrASeparatorLineJoinsWithoutSeparator) {
  for (const CheckedPosition option :
       {CheckedPosition{}, CheckedPosition{1}, CheckedPosition{6}, CheckedPosition{8}}) {
    EXPECT_EQ(BuildAnsiPasteText({"a\r\n", " b "}, option), "a b");
  }
}

TEST(BuildAnsiPasteText, RedirectCutsFromTheFirstAddressToTheEnd) {
  EXPECT_EQ(BuildAnsiPasteText({"go?id=5&url=http:x&y=1"}, kRedirect), "http:x&y=1");
  EXPECT_EQ(BuildAnsiPasteText({"no address here"}, kRedirect), "no address here");
  EXPECT_EQ(BuildAnsiPasteText({"a&url=https://one", "url=http://two"}, kRedirect),
            "https://one\r\nurl=http://two");
  EXPECT_EQ(BuildAnsiPasteText({"URL=http://x"}, kRedirect), "URL=http://x");  // case counts
  // ‘u’ must not be matched on the second byte of a two-byte character: 0x83 0x75 is ブ.
  EXPECT_EQ(BuildAnsiPasteText({"\x83url=http://x"}, kRedirect), "\x83url=http://x");
}

TEST(BuildUnicodePasteText, JoinsAndShapesLineByLine) {
  EXPECT_EQ(BuildUnicodePasteText({u"p", u"q"}, kTab), u"p\t\r\nq\t\r\n");
  EXPECT_EQ(BuildUnicodePasteText({u"p", u"q"}, kNone), u"p\r\nq");
  EXPECT_EQ(BuildUnicodePasteText({u"", u"", u"x"}, kNone), u"x");  // empty items first add nothing
  EXPECT_EQ(BuildUnicodePasteText({u"", u""}, kTab), u"");
  EXPECT_EQ(BuildUnicodePasteText({u"a\u2028b\r\n"}, kComma), u"a,\r\nb,\r\n");
  EXPECT_EQ(BuildUnicodePasteText({u"a", u"b"}, std::nullopt), u"a\r\nb\r\n");
  EXPECT_EQ(BuildUnicodePasteText({u"x?url=http://\U0001F600"}, kRedirect), u"http://\U0001F600");
  EXPECT_EQ(BuildUnicodePasteText({u"plain"}, kRedirect), u"plain");
}

}  // namespace
}  // namespace pellix::paste
