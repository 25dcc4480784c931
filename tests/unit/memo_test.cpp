#include <gtest/gtest.h>

#include "core/io/errors.h"
#include "core/memo/memo_drop.h"
#include "core/memo/memo_file.h"
#include "core/platform_services.h"
#include "test_folder.h"

namespace pellix::memo {
namespace {

using paste::PasteOption;

constexpr int Position(PasteOption option) {
  return static_cast<int>(option);
}

TEST(MemoFile, EveryLoneBreakBecomesCrLf) {
  EXPECT_EQ(ParseMemoFile("a\rb\nc\r\nd\n\re"), "a\r\nb\r\nc\r\nd\r\n\r\ne");
  EXPECT_EQ(ParseMemoFile("end\r\n"), "end\r\n");
  EXPECT_EQ(ParseMemoFile("\x82\xA0\n"), "\x82\xA0\r\n");
  EXPECT_EQ(ParseMemoFile(std::string_view("a\0b", 3)), "a");
  EXPECT_EQ(ParseMemoFile(""), "");
}

TEST(MemoFile, IsWrittenAsExactlyTheTextAndReadBack) {
  testing_support::TestFolder folder;
  const io::FileSystem& files = PlatformFileSystem();
  const io::AppFolder app(folder.Dir(), PlatformTextServices());
  EXPECT_EQ(MemoFilePath(app), folder.File(u"memo.txt"));
  EXPECT_EQ(ReadMemoFile(files, app), "");  // no file yet: an empty memo

  const std::string text = "\x83\x81\x83\x82\r\n  two \r\n";
  WriteMemoFile(files, app, text);
  EXPECT_EQ(files.ReadAll(MemoFilePath(app)), text);
  EXPECT_EQ(ReadMemoFile(files, app), text);
}

TEST(MemoDropText, NoneTrimsOnlyTheEndOfTheWhole) {
  EXPECT_EQ(MemoDropText({"x", "y"}, Position(PasteOption::kNone)), "x\r\ny");
  EXPECT_EQ(MemoDropText({" a ", "b \t\r\n"}, Position(PasteOption::kNone)), " a \r\nb");
  EXPECT_EQ(MemoDropText({"", " "}, Position(PasteOption::kNone)), "");
}

TEST(MemoDropText, OtherOptionsTrimEachItemAndEndEveryOneWithTheSeparator) {
  const std::vector<std::string> items{" a \t", "b\r\n"};
  EXPECT_EQ(MemoDropText(items, Position(PasteOption::kTab)), " a\tb\t");
  EXPECT_EQ(MemoDropText(items, Position(PasteOption::kSpace)), " a b ");
  EXPECT_EQ(MemoDropText(items, Position(PasteOption::kComma)), " a,b,");
  EXPECT_EQ(MemoDropText(items, Position(PasteOption::kLineBreak)), " a\r\nb\r\n");
  EXPECT_EQ(MemoDropText(items, Position(PasteOption::kNoSeparator)), " ab");
  // The redirect cuts nothing here: the items are joined without separator.
  EXPECT_EQ(MemoDropText({"go?url=http:x ", "y"}, Position(PasteOption::kRedirectUrl)),
            "go?url=http:xy");
  EXPECT_EQ(MemoDropText(items, std::nullopt), " ab");
  EXPECT_EQ(MemoDropText(items, 1), " ab");  // a separator line checked through the settings
}

TEST(MemoDropText, NothingSelectedGivesNothing) {
  for (const int option : {0, 2, 3, 4, 5, 7, 9}) {
    EXPECT_EQ(MemoDropText({}, option), "") << option;
  }
  EXPECT_EQ(MemoDropText({" ", "\r\n"}, Position(PasteOption::kNoSeparator)), "");
}

TEST(MemoWithDrop, GoesAboveTheFirstLine) {
  EXPECT_EQ(MemoWithDrop(std::string_view("old\r\nlines"), "x\r\ny"), "x\r\ny\r\nold\r\nlines");
  EXPECT_EQ(MemoWithDrop(std::string_view(""), "x\ty\t"), "x\ty\t\r\n");
  EXPECT_EQ(MemoWithDrop(std::u16string_view(u"\u30e1\u30e2"), u"a"), u"a\r\n\u30e1\u30e2");
}

}  // namespace
}  // namespace pellix::memo
