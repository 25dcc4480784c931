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

TEST(MemoFile, EveryLoneBreakBecomesCrLfAndAZeroEndsTheText) {
  const text::TextServices& services = PlatformTextServices();
  const auto read = [&](std::string_view bytes) { return ParseMemoFile(services, bytes).text; };
  EXPECT_EQ(read("a\rb\nc\r\nd\n\re"), u"a\r\nb\r\nc\r\nd\r\n\r\ne");
  EXPECT_EQ(read("end\r\n"), u"end\r\n");
  EXPECT_EQ(read("\x82\xA0\n"), u"\u3042\r\n");
  EXPECT_EQ(read(std::string_view("a\0b", 3)), u"a");
  EXPECT_EQ(read(""), u"");
  EXPECT_EQ(read(std::string_view("\xFF\xFE"
                                  "a\0\n\0b\0",
                                  8)),
            u"a\r\nb");
}

TEST(MemoFile, IsReadInTheEncodingItCameInAndWrittenBackInIt) {
  testing_support::TestFolder folder;
  const io::FileSystem& files = PlatformFileSystem();
  const text::TextServices& services = PlatformTextServices();
  const io::AppFolder app(folder.Dir(), services);
  EXPECT_EQ(MemoFilePath(app), folder.File(u"memo.txt"));
  EXPECT_EQ(ReadMemoFile(files, app, services).text, u"");  // no file yet: an empty memo
  EXPECT_EQ(ReadMemoFile(files, app, services).encoding.encoding, text::FileEncoding::kCp932);

  struct Case {
    const char* what;
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {"code page 932", "\x83\x81\x83\x82\r\n  two \r\n", u"\u30E1\u30E2\r\n  two \r\n"},
      {"UTF-8 as editors save it", "\xE3\x83\xA1\xE3\x83\xA2 \xF0\x9F\x98\x80\r\n",
       u"\u30E1\u30E2 \U0001F600\r\n"},
      {"UTF-8 with its mark", "\xEF\xBB\xBF\xC3\xBC", u"\u00FC"},
      {"UTF-16 LE", std::string("\xFF\xFE\xFC\0\r\0\n\0", 8), u"\u00FC\r\n"},
      {"UTF-16 BE", std::string("\xFE\xFF\0\xFC", 4), u"\u00FC"},
  };
  for (const Case& c : cases) {
    files.WriteAll(MemoFilePath(app), c.bytes);
    MemoText memo = ReadMemoFile(files, app, services);
    EXPECT_EQ(memo.text, c.text) << c.what;
    // Unchanged, it is written back byte for byte; changed, in the same encoding.
    WriteMemoFile(files, app, services, memo);
    EXPECT_EQ(files.ReadAll(MemoFilePath(app)), c.bytes) << c.what;
    memo.text += u"\u3042";
    WriteMemoFile(files, app, services, memo);
    const MemoText again = ReadMemoFile(files, app, services);
    EXPECT_EQ(again.encoding, memo.encoding) << c.what;
    EXPECT_EQ(again.text, c.text + u"\u3042") << c.what;
  }
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
