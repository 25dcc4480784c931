#include "core/capture/filter_engine.h"

#include <gtest/gtest.h>

#include "core/filters/filter_file.h"
#include "core/io/errors.h"
#include "core/platform_services.h"
#include "test_folder.h"

namespace pellix::capture {
namespace {

using lists::Items;

filters::FilterDef Def(std::string type) {
  filters::FilterDef def;
  def.type = std::move(type);
  return def;
}

// A store whose lists are made from filter files in a scratch folder.
class EngineTest : public testing::Test {
 protected:
  void AddList(const std::string& name, filters::FilterDef def) {
    def.filname = name;
    filters::WriteFilterFile(files_, app_, def);
    store_.AddListSlot(files_, app_, services_, name);
  }
  FilterRun Take(const std::string& text) {
    lastText_ = text;
    return RunFilters(store_, lastText_, services_);
  }
  const lists::ItemList& ItemsOf(std::size_t index) const { return store_.Slot(index).items; }

  testing_support::TestFolder folder_;
  const text::TextServices& services_ = PlatformTextServices();
  const io::FileSystem& files_ = PlatformFileSystem();
  io::AppFolder app_{folder_.Dir(), services_};
  lists::ListStore store_;
  std::string lastText_;
};

TEST_F(EngineTest, TheWorkedPairOfRuns) {
  AddList("all", Def("1"));
  filters::FilterDef tel = Def("2");
  tel.kaigyo = 1;
  tel.astring = "TEL";
  tel.acount = 1;
  AddList("tel", tel);
  filters::FilterDef digits = Def("3");
  digits.cstring = "0123456789";
  AddList("digits", digits);
  AddList("kept", Def("0"));

  FilterRun run = Take("call me\r\nTEL 123");
  EXPECT_EQ(ItemsOf(0), (Items{"call me\r\nTEL 123"}));
  EXPECT_EQ(ItemsOf(1), (Items{"TEL 123"}));
  EXPECT_TRUE(ItemsOf(2).empty());
  EXPECT_TRUE(ItemsOf(3).empty());
  EXPECT_EQ(run.inserted, (std::vector<std::size_t>{1, 1, 0, 0}));
  EXPECT_FALSE(run.failed);

  Take("123");
  EXPECT_EQ(ItemsOf(0), (Items{"123", "call me\r\nTEL 123"}));
  EXPECT_EQ(ItemsOf(1), (Items{"TEL 123"}));
  EXPECT_EQ(ItemsOf(2), (Items{"123"}));
}

TEST_F(EngineTest, PriorityMatchesKeepNonPriorityListsEmpty) {
  filters::FilterDef red = Def("2");
  red.astring = "red blue";
  red.acount = 1;
  AddList("p1", red);
  red.acount = 2;
  AddList("p2", red);
  AddList("n", Def("3"));  // empty test fields, count 0: would take anything

  Take("a RED car");
  EXPECT_EQ(ItemsOf(0), (Items{"a RED car"}));
  EXPECT_TRUE(ItemsOf(1).empty());  // needs both words
  EXPECT_TRUE(ItemsOf(2).empty());
  Take("red and Blue");
  EXPECT_EQ(ItemsOf(1), (Items{"red and Blue"}));
  EXPECT_TRUE(ItemsOf(2).empty());
  Take("green");
  EXPECT_EQ(ItemsOf(2), (Items{"green"}));
}

TEST_F(EngineTest, AcceptAllConversionsFeedTheListsAfterThem) {
  filters::FilterDef narrow = Def("1");
  narrow.zen = true;
  narrow.caps = true;
  AddList("narrow", narrow);
  filters::FilterDef abc = Def("2");
  abc.cstring = "abc";
  AddList("abc", abc);
  Take("\x82\x60\x82\x61\x82\x62");  // ＡＢＣ
  EXPECT_EQ(lastText_, "abc");
  EXPECT_EQ(ItemsOf(0), (Items{"abc"}));
  EXPECT_EQ(ItemsOf(1), (Items{"abc"}));
}

TEST_F(EngineTest, LineModeInsertsMatchingLinesInReverseAndConvertsThemForLaterLists) {
  filters::FilterDef lines = Def("2");
  lines.kaigyo = 1;
  lines.exfrom[0] = "x";
  lines.exto[0] = "y";
  AddList("lines", lines);  // count 0, no check strings: every line matches
  filters::FilterDef seen = Def("2");
  seen.kaigyo = 1;
  seen.astring = "y";
  seen.acount = 1;
  AddList("seen", seen);

  Take("x1\r\n\r\nx3\r\n");
  EXPECT_EQ(ItemsOf(0), (Items{"y3", "", "y1"}));  // the empty line goes in too
  EXPECT_EQ(ItemsOf(1), (Items{"y3", "y1"}));
  EXPECT_EQ(lastText_, "x1\r\n\r\nx3\r\n");  // line mode leaves the text alone
}

TEST_F(EngineTest, NothingToRunChangesNothingAndABadTypeChangesNothingEither) {
  AddList("kept", Def("0"));
  AddList("five", Def("5"));
  FilterRun run = Take("text");
  EXPECT_EQ(lastText_, "text");
  EXPECT_TRUE(ItemsOf(0).empty());
  EXPECT_TRUE(ItemsOf(1).empty());
  EXPECT_EQ(run.inserted, (std::vector<std::size_t>{0, 0}));

  AddList("all", Def("1"));
  AddList("empty", Def(""));
  EXPECT_THROW(Take("text"), io::IntegerConversionError);
  EXPECT_TRUE(ItemsOf(2).empty());
  EXPECT_EQ(lastText_, "text");
}

TEST_F(EngineTest, RepeatsAreKept) {
  AddList("all", Def("1"));
  Take("a");
  Take("b");
  Take("a");
  EXPECT_EQ(ItemsOf(0), (Items{"a", "b", "a"}));
}

TEST(ContainsWords, CountsWordsFoundOnCharacterBoundaries) {
  EXPECT_TRUE(ContainsWords("", "", 0));
  EXPECT_TRUE(ContainsWords("anything", "none", -1));
  EXPECT_FALSE(ContainsWords("anything", "", 1));
  EXPECT_FALSE(ContainsWords("anything", "   ", 1));
  EXPECT_TRUE(ContainsWords("Hello World", " world  HELLO ", 2));
  EXPECT_TRUE(ContainsWords("hello", "hello hello", 2));  // a word given twice counts twice
  EXPECT_FALSE(ContainsWords("hello", "hello bye", 2));
  // 表 is 0x95 0x5C: its second byte is no backslash of the text.
  EXPECT_FALSE(ContainsWords("\x95\x5C", "\\", 1));
  // Ｔ (0x8273) and ｔ (0x8294) are one letter; the ideographic space belongs to the word.
  EXPECT_TRUE(ContainsWords("\x82\x73", "\x82\x94", 1));
  EXPECT_FALSE(ContainsWords("a b",
                             "a\x81\x40"
                             "b",
                             1));
}

TEST(OnlyLimitingChars, AllowsOnlyTheGivenCharacters) {
  EXPECT_TRUE(OnlyLimitingChars("03-1234-5678", "0123456789-"));
  EXPECT_FALSE(OnlyLimitingChars("03 1234", "0123456789-"));
  EXPECT_TRUE(OnlyLimitingChars("03 1234", "0123456789- "));
  EXPECT_FALSE(OnlyLimitingChars("   ", "0123456789- "));
  EXPECT_FALSE(OnlyLimitingChars(" \r\n\x81\x40", "0123456789\x81\x40"));
  EXPECT_TRUE(OnlyLimitingChars("CAB", "abc"));
  EXPECT_FALSE(OnlyLimitingChars("", "abc"));
  EXPECT_FALSE(OnlyLimitingChars("abc", ""));
  EXPECT_FALSE(OnlyLimitingChars("1\r\n2", "12"));  // a line break is no permitted character
  // 表 (0x95 0x5C) is not the backslash, nor is the backslash part of 表.
  EXPECT_FALSE(OnlyLimitingChars("\\", "\x95\x5C"));
  EXPECT_TRUE(OnlyLimitingChars("\x95\x5C\x95\x5C", "\x95\x5C"));
}

TEST(ApplyConversions, RunsWidthCaseThenReplacementRowsInOrder) {
  const text::TextServices& services = PlatformTextServices();
  filters::FilterDef def;
  def.exfrom[0] = "aa";
  def.exto[0] = "b";
  EXPECT_EQ(ApplyConversions(def, "aaa", services), "ba");
  def.exfrom[1] = "b";
  def.exto[1] = "";  // deletes
  EXPECT_EQ(ApplyConversions(def, "aaaa", services), "");
  def = filters::FilterDef{};
  def.caps = true;
  def.small = true;  // both set: upper case wins
  EXPECT_EQ(ApplyConversions(def, "MiXed", services), "MIXED");
  // A replacement never starts inside a two-byte character: 表 ends in 0x5C.
  EXPECT_EQ(filters::ReplaceAll("\x95\x5C\\", "\\", "/"), "\x95\x5C/");
  EXPECT_EQ(filters::ReplaceAll("abab", "ab", "abab"), "abababab");
}

}  // namespace
}  // namespace pellix::capture
