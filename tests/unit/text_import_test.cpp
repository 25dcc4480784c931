#include "core/capture/text_import.h"

#include <gtest/gtest.h>

#include "core/platform_services.h"
#include "core/text/utf.h"
#include "list_fixtures.h"

namespace pellix::capture {
namespace {

using lists::Items;
using lists::ListId;
using lists::WideItems;
using lists::testing_support::View;

const text::TextServices& Services() {
  return PlatformTextServices();
}

std::string Bytes(std::string_view literal) {
  return std::string(literal);
}

std::string Utf16LeFile(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (const char16_t ch : text) {
    out += static_cast<char>(ch & 0xFF);
    out += static_cast<char>(ch >> 8);
  }
  return out;
}

TEST(ImportedText, CodePage932IsTakenByteForByte) {
  // Bytes no conversion would keep: a broken lead byte, an unassigned pair, a lone 0x80.
  const std::string odd = "a\x82\r\n\x85\x40\x80z";
  EXPECT_EQ(ImportedText(Services(), odd), odd);
  EXPECT_EQ(ImportedText(Services(), "\x82\xA0\x82\xA2"), "\x82\xA0\x82\xA2");
  EXPECT_EQ(ImportedText(Services(), std::string_view("ab\0cd", 5)), "ab");
}

TEST(ImportedText, UnicodeFilesBecomeCodePage932AsACaptureDoes) {
  const std::string aiu = "\x82\xA0\x82\xA2\x82\xA4";  // あいう
  EXPECT_EQ(ImportedText(Services(), "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86"), aiu);
  EXPECT_EQ(ImportedText(Services(), "\xEF\xBB\xBF\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86"), aiu);
  EXPECT_EQ(ImportedText(Services(), Utf16LeFile(u"あいう")), aiu);
  EXPECT_EQ(
      ImportedText(Services(), Bytes(std::string_view("\xFE\xFF\x30\x42\x30\x44\x30\x46", 8))),
      aiu);
  // What the code page lacks becomes '?', a character outside the basic plane one '?'.
  EXPECT_EQ(ImportedText(Services(), text::Utf16ToUtf8(u"x\u00E9\U0001F600y")), "x??y");
  EXPECT_EQ(ImportedText(Services(), Utf16LeFile(std::u16string(u"a\0b", 3))), "a");
}

TEST(ImportedLines, SplitAtEveryBreakWithoutATrailingEmptyLine) {
  EXPECT_EQ(ImportedLines(Services(), "a\r\nb\rc\nd\r\n"), (Items{"a", "b", "c", "d"}));
  EXPECT_EQ(ImportedLines(Services(), "a\r\n\r\nb"), (Items{"a", "", "b"}));
  EXPECT_EQ(ImportedLines(Services(), ""), Items{});
  EXPECT_EQ(ImportedLines(Services(), Utf16LeFile(u"\u3042\r\n\u3044")),
            (Items{"\x82\xA0", "\x82\xA2"}));
}

TEST(ImportedUnicodeLines, ReadsUtf8WithoutAMarkThatTheListFileWouldMangle) {
  const std::string utf8 = text::Utf16ToUtf8(u"\u00E9t\u00E9\r\n\U0001F600 \u3042");
  EXPECT_EQ(ImportedUnicodeLines(Services(), utf8),
            (WideItems{u"\u00E9t\u00E9", u"\U0001F600 \u3042"}));
  EXPECT_NE(lists::ParseUnicodeListFile(Services(), utf8), ImportedUnicodeLines(Services(), utf8));
}

TEST(ImportedUnicodeLines, OtherwiseReadsAsTheUnicodeListFile) {
  const std::string files[] = {
      Utf16LeFile(u"a\u2028b\rc\nd"),
      "\xEF\xBB\xBF\xE2\x82\xAC\r\n",
      "\x82\xA0\r\n\x82\xA2",
      Bytes(std::string_view("x\r\n\0y", 5)),
      "",
  };
  for (const std::string& file : files) {
    EXPECT_EQ(ImportedUnicodeLines(Services(), file),
              lists::ParseUnicodeListFile(Services(), file));
  }
  EXPECT_EQ(ImportedUnicodeLines(Services(), Utf16LeFile(u"a\u2028b")), (WideItems{u"a", u"b"}));
}

TEST(JoinLinesWithCrLf, EndsEveryLineWithCrLf) {
  EXPECT_EQ(JoinLinesWithCrLf("a\nb\rc"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(JoinLinesWithCrLf("a\r\n"), "a\r\n");
  EXPECT_EQ(JoinLinesWithCrLf("\n"), "\r\n");
  EXPECT_EQ(JoinLinesWithCrLf(""), "");
}

class ImportTest : public testing::Test {
 protected:
  ImportTest() {
    filters::FilterDef all;
    all.type = "1";
    store_.AddSlot(lists::ListSlot{"all", {}, all});
    filters::FilterDef lines;
    lines.type = "2";
    lines.kaigyo = 1;
    lines.astring = "TEL";
    lines.acount = 1;
    store_.AddSlot(lists::ListSlot{"tel", {}, lines});
    filters::FilterDef storage;
    storage.type = "0";
    store_.AddSlot(lists::ListSlot{"unicode", {}, storage});
    store_.SwitchList(0);
  }
  std::optional<FilterRun> Sort(std::string_view file) {
    return SortImportedFile(store_, lastText_, Services(), file);
  }
  const lists::ItemList& ItemsOf(std::size_t index) const { return store_.Slot(index).items; }

  lists::ListStore store_;
  std::string lastText_;
};

TEST_F(ImportTest, SortsTheWholeFileAsOneTextEndingInCrLf) {
  const auto run = Sort("one\nTEL 1\rthree");
  ASSERT_TRUE(run);
  EXPECT_EQ(run->inserted, (std::vector<std::size_t>{1, 1, 0}));
  EXPECT_EQ(ItemsOf(0), (Items{"one\r\nTEL 1\r\nthree\r\n"}));
  EXPECT_EQ(ItemsOf(1), (Items{"TEL 1"}));
  EXPECT_EQ(lastText_, "one\r\nTEL 1\r\nthree\r\n");
}

TEST_F(ImportTest, EmptyFilesAndRepeatsSortNothing) {
  for (const std::string_view file : {"", "\r\n", "\n", "\r"}) {
    EXPECT_FALSE(Sort(file)) << testing::PrintToString(file);
  }
  EXPECT_TRUE(ItemsOf(0).empty());
  EXPECT_EQ(lastText_, "");

  EXPECT_TRUE(Sort("same"));
  EXPECT_FALSE(Sort("same\r\n"));  // the same text once joined
  EXPECT_EQ(ItemsOf(0), (Items{"same\r\n"}));
  lastText_ = "something else";
  EXPECT_TRUE(Sort("same"));
  EXPECT_EQ(ItemsOf(0), (Items{"same\r\n", "same\r\n"}));
}

TEST_F(ImportTest, ABigFileIsNeverCut) {
  std::string file;
  for (int i = 0; i < 5000; ++i) {
    file += "\x82\xA0\x82\xA2\x82\xA4\n";  // three characters and a break per line
  }
  ASSERT_TRUE(Sort(file));
  EXPECT_EQ(ItemsOf(0).front().size(), 5000u * 8);
}

TEST_F(ImportTest, InsertsTheLinesAtTheFocusMarkInFileOrder) {
  store_.SetItems(0, lists::testing_support::Numbered(5));
  const auto done = InsertImportedFile(store_, View({4}, 2, 1), Services(), "x\r\ny\r\nz\r\n");
  ASSERT_TRUE(done);
  EXPECT_EQ(done->list, ListId::Ansi(0));
  EXPECT_EQ(ItemsOf(0), (Items{"i0", "i1", "x", "y", "z", "i2", "i3", "i4"}));
  EXPECT_EQ(done->result, (lists::EditResult{true, View({2, 3, 4}, 2, 1)}));
  EXPECT_EQ(lastText_, "");  // nothing goes through the filters
  EXPECT_TRUE(ItemsOf(1).empty());
}

TEST_F(ImportTest, WithoutAFocusMarkTheLinesGoToTheTop) {
  store_.SetItems(0, Items{"old"});
  const auto done = InsertImportedFile(store_, View({}, std::nullopt), Services(), "a\nb");
  ASSERT_TRUE(done);
  EXPECT_EQ(ItemsOf(0), (Items{"a", "b", "old"}));
  EXPECT_EQ(done->result, (lists::EditResult{true, View({0, 1}, 0)}));
}

TEST_F(ImportTest, AnEmptyFileInsertsNothingAndKeepsTheView) {
  store_.SetItems(0, Items{"old"});
  const auto done = InsertImportedFile(store_, View({0}, 0), Services(), "");
  ASSERT_TRUE(done);
  EXPECT_EQ(done->result, (lists::EditResult{false, View({0}, 0)}));
  EXPECT_EQ(ItemsOf(0), Items{"old"});
}

TEST_F(ImportTest, TheUnicodeListTakesUtf16Lines) {
  store_.SetUnicodeItems({u"p", u"q"});
  store_.SwitchList(2);
  const auto done =
      InsertImportedFile(store_, View({}, 1), Services(), text::Utf16ToUtf8(u"\u00E9\n\u3042"));
  ASSERT_TRUE(done);
  EXPECT_EQ(done->list, ListId::Unicode());
  EXPECT_EQ(store_.UnicodeItems(), (WideItems{u"p", u"\u00E9", u"\u3042", u"q"}));
  EXPECT_TRUE(ItemsOf(2).empty());
}

TEST_F(ImportTest, NothingIsImportedWithoutACurrentList) {
  store_.ClearCurrent();
  EXPECT_FALSE(InsertImportedFile(store_, View({}, std::nullopt), Services(), "a"));
  EXPECT_TRUE(ItemsOf(0).empty());
}

}  // namespace
}  // namespace pellix::capture
