// Search keys and the matching of typed words: letter case and the width of letters, digits and
// katakana are ignored, and a word never matches from the second byte of a two-byte character.

#include <gtest/gtest.h>

#include <string>

#include "core/platform_services.h"
#include "core/search/search_query.h"
#include "core/text/codec.h"
#include "core/text/fold.h"

namespace pellix::search {
namespace {

const text::TextServices& Services() {
  return PlatformTextServices();
}

// Code page 932 bytes of a text, by the platform's own conversion.
std::string Sjis(std::u16string_view text) {
  return *Services().EncodeCp932(text);
}

bool AnsiItemMatches(std::u16string_view typed, const std::string& item) {
  return SearchQuery(typed, Services()).MatchesAnsi(text::FoldCp932(item));
}

bool WideItemMatches(std::u16string_view typed, std::u16string_view item) {
  return SearchQuery(typed, Services()).MatchesWide(text::FoldUtf16(item));
}

TEST(FoldCp932, IgnoresCaseAndTheWidthOfLettersDigitsAndKatakana) {
  // ａＢｃ１ (full width) and AbC1 fold alike.
  EXPECT_EQ(text::FoldCp932("\x82\x81\x82\x61\x82\x83\x82\x50"), text::FoldCp932("AbC1"));
  EXPECT_EQ(text::FoldCp932("abc"), "ABC");
  // ｶﾞｷﾞ and ｶﾞｰ: a half-width letter with its sound mark is the one full-width letter.
  EXPECT_EQ(text::FoldCp932("\xB6\xDE"), "\x83\x4B");              // ガ
  EXPECT_EQ(text::FoldCp932("\xCA\xDF\xDD"), "\x83\x70\x83\x93");  // パン
  EXPECT_EQ(text::FoldCp932("\xB3\xDE"), "\x83\x94");              // ヴ
  // A sound mark after a letter that takes none stays a mark of its own.
  EXPECT_EQ(text::FoldCp932("\xB1\xDE"), "\x83\x41\x81\x4A");  // ア゛
  // Greek and Cyrillic letters have a case too: α and Α.
  EXPECT_EQ(text::FoldCp932("\x83\xBF"), text::FoldCp932("\x83\x9F"));
  // Hiragana stay apart from katakana: か is not カ.
  EXPECT_NE(text::FoldCp932("\x82\xA9"), text::FoldCp932("\x83\x4A"));
}

TEST(FoldCp932, NeverChangesASecondByteOnItsOwn) {
  // ア is 83 41 and ヂ is 83 61: their second bytes are 'A' and 'a', which stay as they are.
  EXPECT_EQ(text::FoldCp932("\x83\x41\x83\x61"), "\x83\x41\x83\x61");
  // A lead byte at the very end stays.
  EXPECT_EQ(text::FoldCp932("a\x83"), "A\x83");
}

TEST(FoldUtf16, FoldsAsTheCodePageKeyDoes) {
  EXPECT_EQ(text::FoldUtf16(u"ａＢｃ１"), u"ABC1");
  EXPECT_EQ(text::FoldUtf16(u"ｶﾞｷﾞﾊﾟﾝ"), u"ガギパン");
  EXPECT_EQ(text::FoldUtf16(u"Éé ßΣσς Жж Ⅰⅰ"), u"ÉÉ ßΣΣΣ ЖЖ ⅠⅠ");
  EXPECT_EQ(text::FoldUtf16(u"か"), u"か");
}

// Every half-width katakana, alone and with each sound mark, folds to the same character in
// both forms of the text: the two tables say the same thing, checked through the platform's
// conversion of the code page.
TEST(FoldUtf16, AgreesWithTheCodePageTableForEveryHalfWidthKana) {
  for (int byte = 0xA1; byte <= 0xDF; ++byte) {
    for (const char* mark : {"", "\xDE", "\xDF"}) {
      const std::string ansi = std::string(1, static_cast<char>(byte)) + mark;
      const std::u16string wide = text::Cp932ToUtf16(Services(), ansi);
      EXPECT_EQ(text::Cp932ToUtf16(Services(), text::FoldCp932(ansi)), text::FoldUtf16(wide))
          << "byte " << std::hex << byte << " mark " << (mark[0] == 0 ? "none" : mark);
    }
  }
}

TEST(IsCharStart, TellsFirstBytesFromSecondOnes) {
  const std::string text = "a\x83\x41\x81\x81z";  // a ア ー z: 81 81 is one character
  EXPECT_TRUE(text::IsCharStart(text, 0));
  EXPECT_TRUE(text::IsCharStart(text, 1));
  EXPECT_FALSE(text::IsCharStart(text, 2));
  EXPECT_TRUE(text::IsCharStart(text, 3));
  EXPECT_FALSE(text::IsCharStart(text, 4));
  EXPECT_TRUE(text::IsCharStart(text, 5));
  EXPECT_TRUE(text::IsCharStart(text, 6));     // the end
  EXPECT_TRUE(text::IsCharStart("a\x83", 2));  // the end, after a lead byte that stands alone
}

TEST(SearchQuery, EveryWordInAnyOrderIgnoringCaseAndWidth) {
  const std::string item = Sjis(u"Meeting notes: ＡＰＩ review 会議");
  EXPECT_TRUE(AnsiItemMatches(u"api", item));
  EXPECT_TRUE(AnsiItemMatches(u"会議 meeting", item));
  EXPECT_TRUE(AnsiItemMatches(u"  REVIEW\u3000notes ", item));  // an ideographic space too
  EXPECT_FALSE(AnsiItemMatches(u"api draft", item));
  EXPECT_TRUE(AnsiItemMatches(u"", item));
  EXPECT_TRUE(SearchQuery(u" \u3000 ", Services()).Empty());
}

TEST(SearchQuery, HalfAndFullWidthKatakanaMatchEachOther) {
  EXPECT_TRUE(AnsiItemMatches(u"ガス", "\xB6\xDE\xBD"));  // ｶﾞｽ in the item
  EXPECT_TRUE(AnsiItemMatches(u"ｶﾞｽ", Sjis(u"ガス料金")));
  EXPECT_FALSE(AnsiItemMatches(u"カス", "\xB6\xDE\xBD"));
  EXPECT_TRUE(WideItemMatches(u"ｶﾞｽ", u"ガス料金"));
  EXPECT_FALSE(WideItemMatches(u"がす", u"ガス料金"));
}

TEST(SearchQuery, AWordNeverStartsOnASecondByte) {
  // ア is 83 41: its second byte is an 'A' that a search for "a" must not find.
  EXPECT_FALSE(AnsiItemMatches(u"a", Sjis(u"アイウ")));
  EXPECT_TRUE(AnsiItemMatches(u"a", Sjis(u"アイウa")));
  // ー is 81 5B and 5B is '[': no '[' in ーー.
  EXPECT_FALSE(AnsiItemMatches(u"[", Sjis(u"ーー")));
  // ⊥ is 81 DB; its second byte is the half-width ﾛ, which must not be widened into ロ.
  EXPECT_EQ(text::FoldCp932(Sjis(u"⊥")), Sjis(u"⊥"));
  EXPECT_FALSE(AnsiItemMatches(u"ﾛ", Sjis(u"⊥")));
  // After a run of two-byte characters whose bytes all look like first bytes (＝ is 81 81).
  EXPECT_FALSE(AnsiItemMatches(u"a", Sjis(u"＝ア")));
  EXPECT_TRUE(AnsiItemMatches(u"a", Sjis(u"＝＝a")));
}

TEST(SearchQuery, AWordOutsideTheCodePageMatchesNoOrdinaryItem) {
  EXPECT_FALSE(AnsiItemMatches(u"😀", "?"));
  EXPECT_TRUE(WideItemMatches(u"😀", u"smile 😀"));
}

}  // namespace
}  // namespace pellix::search
