#include "core/lists/list_file.h"

#include <gtest/gtest.h>

#include "core/io/errors.h"
#include "core/lists/list_store.h"
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
  EXPECT_EQ(FormatUnicodeListFile(WideItems{u"a", u"\u3042"}), std::string("\xFF\xFE"
                                                                           "a\0\r\0\n\0"
                                                                           "\x42\x30\r\0\n\0",
                                                                           14));
  EXPECT_EQ(FormatUnicodeListFile(WideItems{}), "\xFF\xFE");
  // Piece by piece, however the items fall across the pieces, the bytes are the same.
  WideItems big = {u"", std::u16string(700 * 1024, u'x'), u"\U0001F600"};
  for (int k = 0; k < 3000; ++k) {
    big.push_back(
        std::u16string(static_cast<std::size_t>(k % 500), static_cast<char16_t>(u'a' + k % 26)));
  }
  io::FileSystem::Pieces pieces = UnicodeListFilePieces(SharedWideItems(big).Take());
  std::string joined;
  int count = 0;
  for (std::string_view piece = pieces(); !piece.empty(); piece = pieces()) {
    EXPECT_LE(piece.size(), 2u * 1024 * 1024 + 4);
    joined.append(piece);
    ++count;
  }
  EXPECT_GT(count, 2);
  EXPECT_EQ(joined, FormatUnicodeListFile(big));
  io::FileSystem::Pieces none = UnicodeListFilePieces(SharedWideItems().Take());
  EXPECT_EQ(none(), "\xFF\xFE");
  EXPECT_EQ(none(), "");
  // The store's shared form gives the same bytes.
  EXPECT_EQ(FormatUnicodeListFile(*SharedWideItems(WideItems{u"a", u"\u3042"}).Take()),
            FormatUnicodeListFile(WideItems{u"a", u"\u3042"}));
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
  EXPECT_EQ(ParseUnicodeListFile(services, FormatUnicodeListFile(WideItems{u"one two\r\nthree"})),
            (WideItems{u"one two", u"three"}));
  EXPECT_EQ(ParseUnicodeListFile(services, FormatUnicodeListFile(WideItems{u"a\u2028b\rc\nd"})),
            (WideItems{u"a", u"b", u"c", u"d"}));
  EXPECT_EQ(
      ParseUnicodeListFile(services, FormatUnicodeListFile(WideItems{std::u16string(u"a\0b", 3)})),
      (WideItems{u"a"}));
  EXPECT_EQ(ParseUnicodeListFile(services, ""), WideItems{});
  EXPECT_EQ(ParseUnicodeListFile(services,
                                 "\xFF\xFE"
                                 "a"),
            WideItems{});  // half a unit
}

TEST(ListFiles, AFileThatReadsOnlyInPartIsTold) {
  using namespace std::string_literals;
  struct Case {
    std::string content;
    bool ansiInPart;
    bool unicodeInPart;
  };
  const Case cases[] = {
      {"][)a\r\n][)b\r\n", false, false},
      {"][)a\r\n\0\0\0"s, false, false},  // zeros alone at the end lose nothing
      {"][)a\0][)b\r\n"s, true, true},
      // UTF-16 without its mark: read as code page 932, it ends at the first character's zero.
      {"a\0b\0\r\0\n\0"s, true, true},
      {"\xFF\xFE"
       "a\0b\0"s,
       true, false},
      {"\xFF\xFE"
       "a\0\0\0b\0"s,
       true, true},
      {"\xFF\xFE"
       "a\0b"s,
       true, true},  // an odd byte at the end
      {"\xFE\xFF"
       "\0a\0\0"s,
       true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ListFileReadInPart(c.content), c.ansiInPart) << testing::PrintToString(c.content);
    EXPECT_EQ(UnicodeListFileReadInPart(c.content), c.unicodeInPart)
        << testing::PrintToString(c.content);
  }
}

TEST(ListFiles, TheWholeOriginalOfAPartlyReadFileIsKeptBeforeAnythingRewritesIt) {
  using namespace std::string_literals;
  testing_support::TestFolder folder;
  const io::FileSystem& files = PlatformFileSystem();
  const text::TextServices& services = PlatformTextServices();
  const io::AppFolder app(folder.Dir(), services);
  const std::string cut = "][)kept\r\n\0][)after the zero\r\n"s;
  files.WriteAll(ListFilePath(app, "a"), cut);
  files.WriteAll(app.PathFor("a", u".flt"), "filname=a\r\ntype=0\r\n");
  files.WriteAll(app.PathFor("unicode", u".flt"), "filname=unicode\r\ntype=0\r\n");
  files.WriteAll(ListFilePath(app, "unicode"), "x\0y\0"s);

  ListStore store;
  store.AddListSlot(files, app, services, "a");
  store.AddListSlot(files, app, services, "unicode");
  EXPECT_EQ(store.Slot(0).items, Items{"kept"});  // as far as it reads
  const std::vector<PartlyRead> told = store.TakePartlyRead();
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0].path, ListFilePath(app, "a"));
  EXPECT_EQ(told[0].kept, ListFilePath(app, "a") + u".bak");
  EXPECT_EQ(files.ReadAll(told[0].kept), cut);
  EXPECT_EQ(files.ReadAll(told[1].kept), "x\0y\0"s);
  EXPECT_TRUE(store.TakePartlyRead().empty());  // told once

  // Read again later, the same original is not copied twice; another one gets a name of its
  // own instead of replacing the first copy.
  EXPECT_EQ(KeepOriginal(files, ListFilePath(app, "a"), cut), told[0].kept);
  EXPECT_EQ(KeepOriginal(files, ListFilePath(app, "a"), "other"), told[0].kept + u"2");
  EXPECT_EQ(files.ReadAll(told[0].kept), cut);
}

}  // namespace
}  // namespace pellix::lists
