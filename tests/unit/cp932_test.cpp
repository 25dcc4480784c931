#include "core/text/cp932.h"

#include <gtest/gtest.h>

namespace pellix::text {
namespace {

// 漢 字 表 in code page 932: three two-byte characters. 表 (0x955C) has 0x5C as its second byte.
constexpr std::string_view kThreeKanji = "\x8A\xBF\x8E\x9A\x95\x5C";

TEST(CharLength, CountsTwoByteCharactersOnce) {
  EXPECT_EQ(CharLength(""), 0u);
  EXPECT_EQ(CharLength(kThreeKanji), 3u);
  EXPECT_EQ(CharLength(std::string("ab") + "\x8A\xBF"), 3u);
  EXPECT_EQ(CharLength("\xB1\xB2"), 2u);  // half-width katakana are one byte each
  EXPECT_EQ(CharLength("a\x81"), 2u);     // a lead byte at the very end stands alone
  EXPECT_EQ(CharLength("\x81\x0D"), 1u);  // a lead byte takes whatever byte follows it
}

TEST(PrefixBytesForChars, NeverSplitsACharacter) {
  const std::string text = std::string("a") + std::string(kThreeKanji) + "b";
  EXPECT_EQ(PrefixBytesForChars(text, 0), 0u);
  EXPECT_EQ(PrefixBytesForChars(text, 2), 3u);
  EXPECT_EQ(PrefixBytesForChars(text, 4), 7u);
  EXPECT_EQ(PrefixBytesForChars(text, 5), 8u);
  EXPECT_EQ(PrefixBytesForChars(text, 99), 8u);
}

TEST(SplitLines, BreaksAtEveryKindOfLineEnd) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\r\n"), (Lines{"a"}));  // a break at the very end adds no line
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitLines("\n"), (Lines{""}));
  EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF CR is two breaks
  EXPECT_EQ(SplitLines(std::string_view("a\nb\0c\nd", 7)), (Lines{"a", "b"}));
}

TEST(FileBaseName, DropsFolderAndLastExtension) {
  EXPECT_EQ(FileBaseName("C:\\lists\\list.flt"), "list");
  EXPECT_EQ(FileBaseName("C:\\lists\\a.b.flt"), "a.b");
  EXPECT_EQ(FileBaseName("x.flt.flt"), "x.flt");
  EXPECT_EQ(FileBaseName("D:\\notes"), "notes");
  EXPECT_EQ(FileBaseName("C:.flt"), "");
  EXPECT_EQ(FileBaseName("C:\\dir.x\\name"), "name");
  // 表 ends in 0x5C, which must not be taken for a separator.
  EXPECT_EQ(FileBaseName(std::string("C:\\") + std::string(kThreeKanji) + ".flt"),
            std::string(kThreeKanji));
}

}  // namespace
}  // namespace pellix::text
