#include "core/filters/conversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/text/byte_pairs.h"
#include "core/text/case_fold.h"
#include "core/text/conversions.h"
#include "core/text/cp932.h"

namespace pellix::capture {
namespace {

filters::FilterDef Flags(int flags) {
  filters::FilterDef def;
  def.zen = (flags & 1) != 0;
  def.caps = (flags & 2) != 0;
  def.small = (flags & 4) != 0;
  return def;
}

// The engine takes a text that a conversion made without any replacement row firing as one
// that conversion leaves alone. The width and case mappings work a character at a time and
// only ever give one-byte characters or two-byte ones with a lead byte, so it is enough that
// each of them, and each mix of them, leaves its own output of every character alone.
TEST(Conversion, WidthAndCaseMappingsLeaveTheirOwnOutputAlone) {
  std::vector<std::string> characters;
  for (unsigned byte = 0; byte < 0x100; ++byte) {
    characters.emplace_back(1, static_cast<char>(byte));
  }
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!text::IsLeadByte(static_cast<unsigned char>(lead))) {
      continue;
    }
    for (unsigned trail = 0; trail < 0x100; ++trail) {
      characters.push_back({static_cast<char>(lead), static_cast<char>(trail)});
    }
  }
  for (int flags = 1; flags < 8; ++flags) {
    const filters::Conversion conversion(Flags(flags));
    for (const std::string& character : characters) {
      std::string once = character;
      ASSERT_TRUE(conversion.Apply(once));
      std::string twice = once;
      conversion.Apply(twice);
      ASSERT_EQ(twice, once) << "flags " << flags << " character " << std::hex
                             << static_cast<unsigned>(static_cast<unsigned char>(character[0]));
    }
  }
}

TEST(Conversion, IsSettledOnlyWhenNoReplacementRowFired) {
  filters::FilterDef def;
  def.exfrom[2] = "a";
  def.exto[2] = "aa";  // fires again on its own output
  const filters::Conversion conversion(def);
  std::string text = "banana";
  EXPECT_FALSE(conversion.Apply(text));
  EXPECT_EQ(text, "baanaanaa");
  text = "xyz";
  EXPECT_TRUE(conversion.Apply(text));
  EXPECT_EQ(text, "xyz");
  // A long text, where the rows are first looked for among its byte pairs.
  std::string page(3000, 'x');
  page[1500] = 'a';
  EXPECT_FALSE(conversion.Apply(page));
  EXPECT_EQ(page.size(), 3001u);
  EXPECT_TRUE(filters::Conversion(filters::FilterDef{}).IsIdentity());
  EXPECT_FALSE(conversion.IsIdentity());
  filters::FilterDef emptyRow;
  emptyRow.exto[0] = "never used";  // a row without a text to find replaces nothing
  EXPECT_TRUE(filters::Conversion(emptyRow).IsIdentity());
}

TEST(Conversion, InPlaceMappingsTellWhetherTheyChangedAnything) {
  std::string text = "abc\x82\x60";  // Ａ
  EXPECT_TRUE(text::MakeLowerCase(text));
  EXPECT_EQ(text, "abc\x82\x81");
  EXPECT_FALSE(text::MakeLowerCase(text));
  EXPECT_TRUE(text::MakeUpperCase(text));
  EXPECT_EQ(text, "ABC\x82\x60");
  EXPECT_TRUE(text::MakeHalfWidth(text));
  EXPECT_EQ(text, "ABCA");
  EXPECT_FALSE(text::MakeHalfWidth(text));
  // Eight ASCII bytes at a time, then the rest: letters on either side of the block edge.
  text = "abcdefghIJKLMNOPqr\x95\x5C";
  EXPECT_TRUE(text::MakeUpperCase(text));
  EXPECT_EQ(text, "ABCDEFGHIJKLMNOPQR\x95\x5C");
  text = "@[`{AZaz";  // the neighbours of the letters stay
  text::MakeLowerCase(text);
  EXPECT_EQ(text, "@[`{azaz");
}

std::string RandomCp932(std::mt19937& random, std::size_t bytes) {
  // Mostly bytes that make the character boundaries hard to see: lead-range bytes, trail
  // bytes that look like ASCII, and a few plain letters.
  static const unsigned char kBytes[] = {0x81, 0x82, 0x9F, 0xE0, 0xFC, 0x40, 0x5C,
                                         0x7E, 'a',  'b',  0xA0, 0xB1, 0x80, 0xFD};
  std::string text;
  for (std::size_t i = 0; i < bytes; ++i) {
    text += static_cast<char>(kBytes[random() % std::size(kBytes)]);
  }
  return text;
}

TEST(CharacterStarts, FoundFromTheLeadBytesBeforeAPositionAsByWalkingFromTheStart) {
  std::mt19937 random(7);
  for (int round = 0; round < 500; ++round) {
    const std::string text = RandomCp932(random, random() % 40);
    std::vector<bool> starts(text.size() + 1, false);
    for (std::size_t pos = 0; pos < text.size(); pos += text::CharSizeAt(text, pos)) {
      starts[pos] = true;
    }
    starts[text.size()] = true;
    for (std::size_t from = 0; from <= text.size(); ++from) {
      if (!starts[from]) {
        continue;
      }
      for (std::size_t pos = from; pos <= text.size(); ++pos) {
        ASSERT_EQ(text::StartsCharFrom(text, from, pos), starts[pos])
            << "round " << round << " from " << from << " pos " << pos;
      }
    }
  }
}

TEST(BytePairs, RulesOutOnlyNeedlesThatAreNotThere) {
  std::mt19937 random(11);
  int ruledOut = 0;
  for (int round = 0; round < 200; ++round) {
    const std::string text = RandomCp932(random, 500 + random() % 100);
    text::BytePairs pairs;
    pairs.Assign(text);
    for (int probe = 0; probe < 50; ++probe) {
      const std::string needle = RandomCp932(random, random() % 4);
      const bool there = text.find(needle) != std::string::npos;
      if (there) {
        ASSERT_TRUE(pairs.MayContain(needle)) << "round " << round;
      }
      ruledOut += pairs.MayContain(needle) ? 0 : 1;
    }
    // The last byte starts no pair but is there all the same.
    ASSERT_TRUE(pairs.MayContain(text.substr(text.size() - 1)));
  }
  EXPECT_GT(ruledOut, 100);  // and it does rule out what is missing
  text::BytePairs pairs;
  pairs.Assign(std::string(600, 'x') + "yz");
  EXPECT_TRUE(pairs.MayContain("xy"));
  EXPECT_TRUE(pairs.MayContain("z"));
  EXPECT_FALSE(pairs.MayContain("yx"));
  EXPECT_FALSE(pairs.MayContain("w"));
  EXPECT_FALSE(pairs.MayContain("xyx"));
  EXPECT_TRUE(pairs.MayContain(""));
  pairs.Assign("short");  // too short to be worth noting: nothing is ruled out
  EXPECT_TRUE(pairs.MayContain("w"));
}

}  // namespace
}  // namespace pellix::capture

namespace pellix::text {
namespace {

// A long text is folded a piece at a time as searches need it; a word lying across the end of
// a piece, or at the very end, is found all the same, and one inside a two-byte character not.
TEST(FoldedText, FindsWordsWhereverThePartFoldedSoFarEnds) {
  for (std::size_t at = 1000; at < 1040; ++at) {
    std::string page;
    while (page.size() < at) {
      page +=
          "\x95\x5C"
          "x";  // 表x
    }
    page.resize(at);
    if (IsLeadByte(static_cast<unsigned char>(page.back()))) {
      page.back() = 'x';
    }
    const std::string text = page + "Needle" + std::string(3000, 'y') + "\x82\x81nd";  // ａnd
    FoldedText folded(text);
    EXPECT_TRUE(folded.Contains("NEEDLE")) << at;
    EXPECT_TRUE(folded.Contains("\x82\x60ND")) << at;  // Ａnd, at the very end
    EXPECT_FALSE(folded.Contains("\\X")) << at;        // only ever the second byte of 表
    EXPECT_FALSE(folded.Contains("NEEDLES")) << at;
  }
}

}  // namespace
}  // namespace pellix::text
