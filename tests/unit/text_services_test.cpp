// Runs against the platform's own TextServices: natively the iconv one, under Wine the Win32 one.
// Both must give the same answers.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/platform_services.h"
#include "core/text/case_fold.h"
#include "core/text/codec.h"
#include "core/text/conversions.h"
#include "core/text/cp932.h"
#include "core/text/utf.h"

namespace pellix::text {
namespace {

const TextServices& Services() {
  return PlatformTextServices();
}

std::u16string Decode(std::string_view bytes) {
  return Cp932ToUtf16(Services(), bytes);
}
std::string Encode(std::u16string_view text) {
  return Utf16ToCp932(Services(), text);
}

TEST(Cp932Codec, ConvertsTheCodePageBothWays) {
  struct Case {
    std::string_view bytes;
    std::u16string_view text;
  };
  const Case cases[] = {
      {"abc", u"abc"},
      {"\x82\xA0\x82\xA2\x82\xA4", u"あいう"},
      {"\x5C", u"\\"},  // the yen sign of Japanese fonts is the backslash's code
      {"\x7E", u"~"},
      {"\x81\x60", u"\uFF5E"},  // the wave dash of code page 932 is the full-width tilde
      {"\xB1\xDE", u"\uFF71\uFF9E"},
      {"\x87\x40", u"\u2460"},  // NEC row 13
      {"\xFA\x40", u"\u2170"},  // IBM extension
      {"\x81\xE0", u"\u2252"},  // held twice; Windows writes this one
      {"\x81\xCA", u"\uFFE2"},  // held three times
      {"\x87\x54", u"\u2160"},  // NEC row 13 wins over the IBM rows
      {std::string_view("a\0b", 3), std::u16string_view(u"a\0b", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Decode(c.bytes), c.text) << testing::PrintToString(c.bytes);
    EXPECT_EQ(Encode(c.text), c.bytes) << testing::PrintToString(c.bytes);
  }
}

TEST(Cp932Codec, BrokenAndUnassignedBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Decode("a\x82"), u"a\uFFFD");          // lead byte at the end
  EXPECT_EQ(Decode("\x82\r\nx"), u"\uFFFD\r\nx");  // the line break survives
  EXPECT_EQ(Decode("\x82\x7F"
                   "a"),
            u"\uFFFD\x7F"
            "a");
  EXPECT_EQ(Decode("\x82\x20"), u"\uFFFD ");
  EXPECT_EQ(Decode("\x85\x40\x82\xA0"), u"\uFFFDあ");  // unassigned row
  EXPECT_EQ(Decode("\xEB\x9F"), u"\uFFFD");
}

TEST(Cp932Codec, WindowsOnlyBytesSurviveARoundTrip) {
  const std::string bytes = "\x80\xA0\xFD\xFE\xFF\xF0\x40\xF9\xFC\xF5\x80";
  const std::u16string text = Decode(bytes);
  EXPECT_EQ(text, u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3\uE000\uE757\uE3EB");
  EXPECT_EQ(Encode(text), bytes);
}

TEST(Cp932Codec, CharactersTheCodePageLacksBecomeQuestionMarks) {
  EXPECT_EQ(Encode(u"\u00A5"), "\x5C");       // yen sign: one way to the backslash's code
  EXPECT_EQ(Encode(u"a\U0001F600b"), "a?b");  // an emoji is one character
  EXPECT_EQ(Encode(u"\u00E9\u301C"), "??");
  EXPECT_EQ(Encode(u"\xD800x\xDC00"), "?x?");  // lone surrogates
  EXPECT_EQ(Encode(u"\u00E9\x82\u3042"), "??\x82\xA0");
}

TEST(Cp932Codec, ALongTextKeepsEveryCharacterAroundOneItLacks) {
  // Long enough to be converted in parts; the pair sits across where a part would end.
  for (const std::size_t before : {0u, 254u, 255u, 256u, 600u}) {
    const std::u16string text = std::u16string(before, u'\u3042') + u"\U0001F600\u00A5" +
                                std::u16string(300, u'a') + u"\u00E9";
    const std::string expected = [&] {
      std::string out;
      for (std::size_t i = 0; i < before; ++i) {
        out += "\x82\xA0";
      }
      return out + "?\x5C" + std::string(300, 'a') + "?";
    }();
    EXPECT_EQ(Encode(text), expected) << before;
  }
}

TEST(Cp932Codec, EveryAssignedCharacterComesBackToAnEquivalentCode) {
  int assigned = 0;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) {
      continue;
    }
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (!IsTrailByte(static_cast<unsigned char>(trail))) {
        continue;
      }
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string text = Decode(pair);
      if (text == u"\uFFFD") {
        continue;
      }
      ++assigned;
      const std::string back = Encode(text);
      ASSERT_EQ(Decode(back), text) << std::hex << lead << trail;
      ASSERT_EQ(back.size(), 2u) << std::hex << lead << trail;
    }
  }
  // JIS X 0208, the NEC and IBM extensions and the user-defined area.
  EXPECT_GT(assigned, 9000);
}

TEST(FullToHalfWidth, NarrowsLettersDigitsSymbolsAndSpaceOnly) {
  // ＡＢＣ１２３ → ABC123
  EXPECT_EQ(FullToHalfWidth("\x82\x60\x82\x61\x82\x62\x82\x50\x82\x51\x82\x52"), "ABC123");
  // a　b (ideographic space) → a b
  EXPECT_EQ(FullToHalfWidth("a\x81\x40"
                            "b"),
            "a b");
  // ￥ and ＼ both become 0x5C; ～ becomes ~.
  EXPECT_EQ(FullToHalfWidth("\x81\x8F\x81\x5F\x81\x60"), "\x5C\x5C~");
  // カタカナ, ￠ (U+FFE0), ￣ (U+FFE3), kanji and half-width katakana stay as they are.
  const std::string kept = "\x83\x4A\x83\x5E\x81\x91\x81\x50\x8A\xBF\xB6\xDE";
  EXPECT_EQ(FullToHalfWidth(kept), kept);
  EXPECT_EQ(FullToHalfWidth("x\x82"), "x\x82");
}

TEST(FullToHalfWidth, TableAgreesWithThePlatformConversion) {
  std::set<unsigned short> inTable;
  for (const NarrowableChar* entry = NarrowableCharsBegin(); entry != NarrowableCharsEnd();
       ++entry) {
    inTable.insert(entry->bytes);
    const std::string pair{static_cast<char>(entry->bytes >> 8),
                           static_cast<char>(entry->bytes & 0xFF)};
    EXPECT_EQ(Decode(pair), std::u16string(1, entry->wide)) << std::hex << entry->bytes;
    // Computed rather than asked of the platform: Wine's half-width mapping leaves U+FF3C wide.
    const char16_t wide = entry->wide;
    const int narrow = wide == 0x3000 ? 0x20 : wide == 0xFFE5 ? 0x5C : wide - 0xFF01 + 0x21;
    EXPECT_EQ(entry->narrow, narrow) << std::hex << entry->bytes;
  }
  // No other character of the code page is a full-width ASCII form.
  for (unsigned lead : {0x81u, 0x82u, 0xEEu, 0xFAu}) {
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string text = Decode(pair);
      const char16_t ch = text.size() == 1 ? text[0] : 0;
      const bool narrowable = ch == 0x3000 || (ch >= 0xFF01 && ch <= 0xFF5E) || ch == 0xFFE5;
      EXPECT_EQ(narrowable, inTable.count(static_cast<unsigned short>(lead << 8 | trail)) == 1)
          << std::hex << lead << trail;
    }
  }
}

TEST(MapString, CaseMappingsKeepTheWidth) {
  // ＡＢＣ ↔ ａｂｃ
  EXPECT_EQ(MapString(Services(), Mapping::kLowerCase, "\x82\x60\x82\x61\x82\x62"),
            "\x82\x81\x82\x82\x82\x83");
  EXPECT_EQ(MapString(Services(), Mapping::kUpperCase, "\x82\x81\x82\x82\x82\x83"),
            "\x82\x60\x82\x61\x82\x62");
  EXPECT_EQ(MapString(Services(), Mapping::kLowerCase, "Hello, World 1"), "hello, world 1");
  EXPECT_EQ(MapString(Services(), Mapping::kUpperCase, "Hello, World 1"), "HELLO, WORLD 1");
  // Greek α ↔ Α; kana have no case.
  EXPECT_EQ(MapString(Services(), Mapping::kUpperCase, "\x83\xBF\x82\xA0"), "\x83\x9F\x82\xA0");
  EXPECT_EQ(MapString(Services(), Mapping::kLowerCase, ""), "");
}

TEST(MapString, FullWidthWidensEverythingThatHasAWideForm) {
  // A1 z → Ａ１　ｚ
  EXPECT_EQ(MapString(Services(), Mapping::kFullWidth, "A1 z"), "\x82\x60\x82\x50\x81\x40\x82\x9A");
  // ｱｲｳ → アイウ; kanji unchanged
  EXPECT_EQ(MapString(Services(), Mapping::kFullWidth, "\xB1\xB2\xB3\x8A\xBF"),
            "\x83\x41\x83\x43\x83\x45\x8A\xBF");
  // ? ! # → ？！＃
  EXPECT_EQ(MapString(Services(), Mapping::kFullWidth, "?!#"), "\x81\x48\x81\x49\x81\x94");
}

TEST(MapString, KanaWidthMappingsComposeAndSplitVoicedMarks) {
  EXPECT_EQ(Services().Map(Mapping::kHalfWidth, u"ガパア　Ａ"), u"ｶﾞﾊﾟｱ A");
  // A mark after a kana that cannot take it is left out here: Wine widens it to the combining
  // U+3099, which code page 932 cannot hold, where this build gives the spacing U+309B.
  EXPECT_EQ(Services().Map(Mapping::kFullWidth, u"ｶﾞﾊﾟｱ"), u"ガパア");
}

TEST(Compare, OrdersLettersAlphabeticallyBeforeCase) {
  EXPECT_LT(Services().Compare(u"apple", u"Banana", false), 0);
  EXPECT_LT(Services().Compare(u"Banana", u"cherry", false), 0);
  EXPECT_GT(Services().Compare(u"b", u"a", false), 0);
  EXPECT_EQ(Services().Compare(u"same", u"same", false), 0);
  EXPECT_EQ(Services().Compare(u"ABC", u"abc", true), 0);
  EXPECT_NE(Services().Compare(u"ABC", u"abc", false), 0);
  EXPECT_LT(Services().Compare(u"ab", u"abc", false), 0);
}

// The order Windows gives these texts under the Japanese user locale.
const std::u16string_view kLocaleOrder[] = {
    u"",       u" ",   u"!",  u"#",    u"＃",   u"(x)", u"~",   u"0",    u"1",      u"１",
    u"10",     u"9",   u"a",  u"ａ",   u"A",    u"Ａ",  u"a b", u"a\tb", u"a\r\nb", u"a!b",
    u"ab",     u"a-b", u"aB", u"Ab",   u"AB",   u"ab ", u"ab1", u"abc",  u"apple",  u"Banana",
    u"cherry", u"α",   u"Α",  u"я",    u"Я",    u"ぁ",  u"ｱ",   u"ア",   u"あ",     u"カ",
    u"か",     u"ガ",  u"が", u"がか", u"かき", u"き",  u"っ",  u"つ",   u"ﾊ",      u"は",
    u"ば",     u"ぱ",  u"ひ", u"ん",   u"亜",   u"一",  u"会",  u"漢",   u"議",     u"東",
};

TEST(SortKey, OrdersTextsAsTheUserLocaleDoes) {
  std::vector<std::u16string_view> texts(std::begin(kLocaleOrder), std::end(kLocaleOrder));
  std::reverse(texts.begin(), texts.end());
  std::rotate(texts.begin(), texts.begin() + 17, texts.end());
  std::stable_sort(texts.begin(), texts.end(), [](std::u16string_view a, std::u16string_view b) {
    return Services().SortKey(a) < Services().SortKey(b);
  });
  EXPECT_EQ(texts,
            std::vector<std::u16string_view>(std::begin(kLocaleOrder), std::end(kLocaleOrder)));
}

TEST(SortKey, AgreesWithCompare) {
  for (const std::u16string_view a : kLocaleOrder) {
    for (const std::u16string_view b : kLocaleOrder) {
      const std::string keyA = Services().SortKey(a);
      const std::string keyB = Services().SortKey(b);
      const int byKey = keyA < keyB ? -1 : keyB < keyA ? 1 : 0;
      const int compared = Services().Compare(a, b, false);
      EXPECT_EQ(byKey, compared < 0   ? -1
                       : compared > 0 ? 1
                                      : 0)
          << Utf16ToUtf8(a) << " / " << Utf16ToUtf8(b);
    }
  }
}

TEST(Utf8, RoundTripsAndReplacesMalformedSequences) {
  const std::u16string text = u"a\u00E9\u3042\U0001F600";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  EXPECT_EQ(Utf16ToUtf8(u"\u3042"), "\xE3\x81\x82");
  EXPECT_EQ(Utf8ToUtf16("\xE3\x81"), u"\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAFx"), u"\uFFFD\uFFFDx");  // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");      // encoded surrogate
  EXPECT_EQ(Utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD");  // past U+10FFFF
  EXPECT_EQ(Utf16ToUtf8(u"\xDC00"), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace pellix::text

namespace pellix::text {
namespace {

TEST(CaseFold, TableAgreesWithThePlatformUpperCaseMapping) {
  const TextServices& services = PlatformTextServices();
  for (const CaseFoldPair* pair = CaseFoldPairsBegin(); pair != CaseFoldPairsEnd(); ++pair) {
    const std::string lower{static_cast<char>(pair->lower >> 8),
                            static_cast<char>(pair->lower & 0xFF)};
    const std::string upper = MapString(services, Mapping::kUpperCase, lower);
    ASSERT_EQ(upper.size(), 2u) << std::hex << pair->lower;
    EXPECT_EQ(Cp932ToUtf16(services, upper),
              Cp932ToUtf16(services, std::string{static_cast<char>(pair->upper >> 8),
                                                 static_cast<char>(pair->upper & 0xFF)}))
        << std::hex << pair->lower;
    // Lower-casing the upper-case form gives back a code of the same character.
    const std::string upperCode{static_cast<char>(pair->upper >> 8),
                                static_cast<char>(pair->upper & 0xFF)};
    EXPECT_EQ(Cp932ToUtf16(services, ToLowerCase(upperCode)),
              services.Map(Mapping::kLowerCase, Cp932ToUtf16(services, upperCode)))
        << std::hex << pair->upper;
  }
  // Ⅰ → ⅰ, written with the code Windows writes.
  EXPECT_EQ(ToLowerCase("\x87\x54"
                        "Ab"),
            "\xFA\x40"
            "ab");
  EXPECT_EQ(ToUpperCase("\xEE\xEFz\x82"), "\x87\x54Z\x82");
  EXPECT_EQ(FindIgnoringCase("xx\x83\xBF", "\x83\x9F"), 2u);  // α found by Α
  EXPECT_EQ(FindIgnoringCase("\x95\x5C", "\\"), std::string_view::npos);
  EXPECT_EQ(FindIgnoringCase("aBc", "C"), 2u);
}

}  // namespace
}  // namespace pellix::text
