// How imported files are told apart: a byte-order mark, else valid UTF-8, else code page 932.
// Held against typical Japanese texts in both encodings, since a wrong guess mangles a file.

#include "core/text/file_encoding.h"

#include <gtest/gtest.h>

#include "core/platform_services.h"
#include "core/text/codec.h"
#include "core/text/cp932.h"
#include "core/text/utf.h"

namespace pellix::text {
namespace {

const TextServices& Services() {
  return PlatformTextServices();
}

// What people keep in text files here: mail phrases, minutes, addresses, lists, code comments,
// half-width katakana from old systems, full-width digits and symbols.
constexpr std::u16string_view kJapaneseTexts[] = {
    u"お疲れ様です。\r\n明日の会議は１０時から第２会議室で行います。\r\nよろしくお願いします。",
    u"議事録　2024年4月1日\r\n出席者：田中、鈴木、佐藤\r\n・予算案を確認した\r\n",
    u"〒100-0005 東京都千代田区丸の内一丁目９番１号",
    u"ﾃﾞｰﾀﾍﾞｰｽ ｶﾀｶﾅ ﾌｧｲﾙ",
    u"// 検索結果を表示する\nint count = 0;  // 件数\n",
    u"ＴＥＬ：０３－１２３４－５６７８　ＦＡＸ：０３－１２３４－５６７９",
    u"第３四半期の報告書を添付いたします。ご確認ください。",
    u"https://example.co.jp/お知らせ/2024",
    u"漢字",
    u"ア",
    u"薔薇と麒麟",  // level-2 kanji, whose lead bytes UTF-8 also starts with
    u"髙橋さん",
    u"①②③ ㈱ ≒≡∫",
    u"Meeting at 10:30 （会議室Ａ）",
};

TEST(DetectEncoding, ByteOrderMarksDecideFirst) {
  EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF"
                           "abc"),
            (DetectedEncoding{FileEncoding::kUtf8, 3}));
  EXPECT_EQ(DetectEncoding("\xFF\xFE"
                           "a\0"),
            (DetectedEncoding{FileEncoding::kUtf16Le, 2}));
  EXPECT_EQ(DetectEncoding("\xFE\xFF\0a"), (DetectedEncoding{FileEncoding::kUtf16Be, 2}));
  // A mark wins even over bytes that are no UTF-8 at all.
  EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF\x82\xA0").encoding, FileEncoding::kUtf8);
}

TEST(DetectEncoding, PlainAsciiAndBrokenUtf8StayCodePage932) {
  EXPECT_EQ(DetectEncoding(""), DetectedEncoding{});
  EXPECT_EQ(DetectEncoding("plain ascii\r\n"), DetectedEncoding{});
  EXPECT_EQ(DetectEncoding("\xE3\x81"), DetectedEncoding{});          // cut off
  EXPECT_EQ(DetectEncoding("\xC0\xAF"), DetectedEncoding{});          // overlong '/'
  EXPECT_EQ(DetectEncoding("\xED\xA0\x80"), DetectedEncoding{});      // a surrogate
  EXPECT_EQ(DetectEncoding("\xF4\x90\x80\x80"), DetectedEncoding{});  // above U+10FFFF
  // Only the text up to a zero byte counts, as only that much is read.
  EXPECT_EQ(DetectEncoding(std::string_view("ab\0\xC3\xA9", 5)), DetectedEncoding{});
  EXPECT_EQ(DetectEncoding(std::string_view("\xC3\xA9\0\x82\xA0", 5)).encoding,
            FileEncoding::kUtf8);
}

TEST(DetectEncoding, TypicalJapaneseTextsAreToldApartInBothEncodings) {
  for (const std::u16string_view text : kJapaneseTexts) {
    const std::string utf8 = Utf16ToUtf8(text);
    const std::string sjis = Utf16ToCp932(Services(), text);
    ASSERT_EQ(Cp932ToUtf16(Services(), sjis), text) << utf8;  // the sample fits the code page
    EXPECT_EQ(DetectEncoding(utf8).encoding, FileEncoding::kUtf8) << utf8;
    EXPECT_EQ(DetectEncoding(sjis).encoding, FileEncoding::kCp932) << utf8;
  }
}

TEST(DetectEncoding, NoSingleTwoByteCharacterOfTheCodePageLooksLikeUtf8) {
  // Its lead byte is either one that UTF-8 never starts with (0x81 to 0x9F) or one that needs
  // two or three bytes after it; so a text whose first non-ASCII character is full-width is
  // never taken for UTF-8, whatever follows.
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<unsigned char>(lead))) {
      continue;
    }
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      ASSERT_FALSE(IsValidUtf8(pair)) << std::hex << lead << " " << trail;
      if (lead <= 0x9F) {
        ASSERT_FALSE(IsValidUtf8(pair + "\xE3\x81\x82")) << std::hex << lead << " " << trail;
      }
    }
  }
}

TEST(IsValidUtf8, AcceptsEveryWellFormedLengthAndRejectsStrays) {
  EXPECT_TRUE(IsValidUtf8("a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80"));
  EXPECT_TRUE(IsValidUtf8("\xEF\xBF\xBD\xF4\x8F\xBF\xBF"));
  EXPECT_FALSE(IsValidUtf8("\x80"));
  EXPECT_FALSE(IsValidUtf8("\xE3\x81\x41"));
  EXPECT_FALSE(IsValidUtf8("\xE0\x9F\xBF"));  // overlong three-byte form
  EXPECT_FALSE(IsValidUtf8("\xF0\x8F\xBF\xBF"));
  EXPECT_FALSE(IsValidUtf8("\xF5\x80\x80\x80"));
  EXPECT_FALSE(IsValidUtf8("\xF0\x9F\x98"));
}

TEST(DecodeFileText, DecodesEachEncodingAndStopsAtZero) {
  const auto decode = [](std::string_view bytes) {
    return DecodeFileText(Services(), bytes, DetectEncoding(bytes));
  };
  EXPECT_EQ(decode(std::string_view("\xFF\xFE"
                                    "a\0B0\0\0x\0",
                                    10)),
            u"a\u3042");
  EXPECT_EQ(decode(std::string_view("\xFE\xFF\0a0B", 6)), u"a\u3042");
  EXPECT_EQ(decode("\xEF\xBB\xBF\xE3\x81\x82"), u"\u3042");
  EXPECT_EQ(decode("\xE3\x81\x82"), u"\u3042");
  EXPECT_EQ(decode(std::string_view("\x82\xA0\0\x82\xA2", 5)), u"\u3042");
  EXPECT_EQ(decode("\xFF\xFE"
                   "a"),
            u"");  // an odd last byte is no character
}

}  // namespace
}  // namespace pellix::text
