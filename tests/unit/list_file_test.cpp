#include "core/lists/list_file.h"

#include <gtest/gtest.h>

#include "core/io/errors.h"
#include "core/platform_services.h"
#include "test_folder.h"

namespace pellix::lists {
namespace {

TEST(ListFile, FourItemsWriteAndReadBackExactly) {
  const Items items = {"abc", "x\r\ny", "", "z"};
  const std::string bytes = FormatListFile(items);
  EXPECT_EQ(bytes, "][)abc\r\n][)x\r\ny\r\n][)\r\n][)z\r\n");
  EXPECT_EQ(ParseListFile(bytes), items);
}

TEST(ListFile, LimitsOfTheFormat) {
  // An empty last item is lost; an empty list is an empty file.
  EXPECT_EQ(ParseListFile(FormatListFile({"abc", ""})), (Items{"abc"}));
  EXPECT_EQ(FormatListFile({}), "");
  EXPECT_EQ(ParseListFile(""), Items{});
  // Every line break comes back as CR LF, a trailing one included.
  EXPECT_EQ(ParseListFile(FormatListFile({"a\nb"})), (Items{"a\r\nb"}));
  EXPECT_EQ(ParseListFile(FormatListFile({"a\r\n", "b"})), (Items{"a\r\n", "b"}));
  // A continuation line that starts with the marker opens an item; elsewhere the marker is text.
  EXPECT_EQ(ParseListFile(FormatListFile({"p\r\n][)q"})), (Items{"p", "q"}));
  EXPECT_EQ(ParseListFile(FormatListFile({"a][)b"})), (Items{"a][)b"}));
  // A NUL ends the file.
  EXPECT_EQ(ParseListFile(std::string_view("][)a\r\n][)b\0][)c\r\n", 17)), (Items{"a", "b"}));
}

TEST(ListFile, TextBeforeTheFirstMarkerIsKept) {
  EXPECT_EQ(ParseListFile("hand\r\nwritten\r\n][)next"), (Items{"hand\r\nwritten", "next"}));
}

TEST(ListFile, ReadAppendsAndAMissingFileIsAnError) {
  const testing_support::TestFolder folder;
  const io::AppFolder app(folder.Dir(), PlatformTextServices());
  const io::FileSystem& files = PlatformFileSystem();
  const std::string name = "\x8B\x4C\x98\x5E";  // 記録
  WriteListFile(files, app, name, {"\x82\xA0", "b"});
  EXPECT_EQ(ListFilePath(app, name), folder.File(u"記録.dat"));

  Items items = {"kept"};
  ReadListFile(files, app, name, items);
  EXPECT_EQ(items, (Items{"kept", "\x82\xA0", "b"}));
  EXPECT_THROW(ReadListFile(files, app, "missing", items), io::FileOpenError);
}

TEST(UnicodeListFile, WritesLittleEndianWithItsMark) {
  EXPECT_EQ(FormatUnicodeListFile({u"a", u"\u3042"}), std::string("\xFF\xFE"
                                                                  "a\0\r\0\n\0"
                                                                  "\x42\x30\r\0\n\0",
                                                                  14));
  EXPECT_EQ(FormatUnicodeListFile({}), "\xFF\xFE");
}

TEST(UnicodeListFile, ReadsEveryEncodingItKnows) {
  const text::TextServices& services = PlatformTextServices();
  const WideItems expected = {u"a\U0001F600", u"\u3042"};
  EXPECT_EQ(ParseUnicodeListFile(services, FormatUnicodeListFile(expected)), expected);
  EXPECT_EQ(ParseUnicodeListFile(services, std::string("\xFE\xFF"
                                                       "\0a\xD8\x3D\xDE\x00\0\n\x30\x42",
                                                       12)),
            expected);
  EXPECT_EQ(ParseUnicodeListFile(services,
                                 "\xEF\xBB\xBF"
                                 "a\xF0\x9F\x98\x80\r\xE3\x81\x82"),
            expected);
  EXPECT_EQ(ParseUnicodeListFile(services, "a\r\n\x82\xA0\r\n"), (WideItems{u"a", u"\u3042"}));
}

TEST(UnicodeListFile, SplitsAtEveryLineBreakAndStopsAtZero) {
  const text::TextServices& services = PlatformTextServices();
  // An item with a line break comes back as two items.
  EXPECT_EQ(ParseUnicodeListFile(services, FormatUnicodeListFile({u"one two\r\nthree"})),
            (WideItems{u"one two", u"three"}));
  EXPECT_EQ(ParseUnicodeListFile(services, FormatUnicodeListFile({u"a\u2028b\rc\nd"})),
            (WideItems{u"a", u"b", u"c", u"d"}));
  EXPECT_EQ(ParseUnicodeListFile(services, FormatUnicodeListFile({std::u16string(u"a\0b", 3)})),
            (WideItems{u"a"}));
  EXPECT_EQ(ParseUnicodeListFile(services, ""), WideItems{});
  EXPECT_EQ(ParseUnicodeListFile(services,
                                 "\xFF\xFE"
                                 "a"),
            WideItems{});  // half a unit
}

}  // namespace
}  // namespace pellix::lists
