#include "core/filters/filter_file.h"

#include <gtest/gtest.h>

#include "core/io/errors.h"
#include "core/platform_services.h"
#include "test_folder.h"

namespace pellix::capture {
namespace {

filters::FilterDef Parse(std::string_view content) {
  return filters::ParseFilterFile(content, u"x.flt");
}

filters::FilterDef SampleDef() {
  filters::FilterDef def;
  def.filname = "\x97\x9A\x97\xF0";  // 履歴
  def.type = "2";
  def.kaigyo = 1;
  def.astring = "http https";
  def.bstring = "";
  def.cstring = "0123456789-";
  def.acount = 1;
  def.bcount = -1;
  def.zen = true;
  def.caps = false;
  def.small = true;
  def.exfrom[0] = "a=b";
  def.exto[0] = "c";
  def.exfrom[7] = "\x95\x5C";  // 表, second byte 0x5C
  def.exto[7] = " padded ";
  return def;
}

TEST(FilterFile, WritesTheTwentySevenLinesInOrder) {
  const std::string expected =
      "filname=\x97\x9A\x97\xF0\r\n"
      "type=2\r\n"
      "kaigyo=1\r\n"
      "acount=1\r\n"
      "bcount=-1\r\n"
      "astring=http https\r\n"
      "bstring=\r\n"
      "cstring=0123456789-\r\n"
      "zen=1\r\n"
      "caps=0\r\n"
      "small=1\r\n"
      "exfrom0=a=b\r\nexfrom1=\r\nexfrom2=\r\nexfrom3=\r\n"
      "exfrom4=\r\nexfrom5=\r\nexfrom6=\r\nexfrom7=\x95\x5C\r\n"
      "exto0=c\r\nexto1=\r\nexto2=\r\nexto3=\r\n"
      "exto4=\r\nexto5=\r\nexto6=\r\nexto7= padded \r\n";
  EXPECT_EQ(filters::FormatFilterFile(SampleDef()), expected);
  EXPECT_EQ(Parse(expected), SampleDef());
}

TEST(FilterFile, DefaultRecordWritesZerosAndReadsBack) {
  const std::string text = filters::FormatFilterFile(filters::FilterDef{});
  EXPECT_NE(text.find("kaigyo=0\r\nacount=0\r\nbcount=0\r\n"), std::string::npos);
  EXPECT_EQ(Parse(text), filters::FilterDef{});
  EXPECT_EQ(Parse(""), filters::FilterDef{});
  EXPECT_EQ(Parse("no equals sign here\r\n"), filters::FilterDef{});
}

TEST(FilterFile, KeysIgnoreCaseAndTheFirstMatchWins) {
  const filters::FilterDef def = Parse(
      "ZEN=1\nType=3\ntype=1\nKaigyo=2\nacount=-1\nexFrom3=x=y=z\nexto3\nEXTO3=w\nsmall= 1\n"
      "caps=true\nother=5");
  EXPECT_TRUE(def.zen);
  EXPECT_EQ(def.type, "3");
  EXPECT_EQ(def.kaigyo, 2);
  EXPECT_EQ(def.acount, -1);
  EXPECT_EQ(def.exfrom[3], "x=y=z");
  EXPECT_EQ(def.exto[3], "w");  // "exto3" without '=' is no key line
  EXPECT_FALSE(def.small);      // only the single character 1 is true
  EXPECT_FALSE(def.caps);
  // Written back as read, sign included.
  const std::string text = filters::FormatFilterFile(def);
  EXPECT_NE(text.find("kaigyo=2\r\nacount=-1\r\n"), std::string::npos);
}

TEST(FilterFile, EmptyFlagsAndCountsReadAsOffAndZero) {
  const filters::FilterDef def = Parse("filname=x\r\nkaigyo=\r\nzen=\r\ncaps=0\r\n");
  EXPECT_EQ(def.filname, "x");
  EXPECT_EQ(def.kaigyo, 0);
  EXPECT_FALSE(def.zen);
  EXPECT_EQ(def.type, "");
}

TEST(FilterFile, ACountThatIsNoNumberFailsTheWholeReadNamingTheFileAndTheKey) {
  const testing_support::TestFolder folder;
  const io::AppFolder app(folder.Dir(), PlatformTextServices());
  const io::FileSystem& files = PlatformFileSystem();
  const auto message = [&](std::string_view content) {
    files.WriteAll(folder.File(u"履歴.flt"), content);
    try {
      filters::ReadFilterFile(files, app, "\x97\x9A\x97\xF0");
    } catch (const io::IntegerConversionError& error) {
      return error.Message();
    }
    return std::u16string(u"accepted");
  };
  EXPECT_EQ(message("filname=x\r\nkaigyo=abc\r\n"),
            u"'abc' is not a valid integer value\r\n履歴.flt: kaigyo");
  EXPECT_EQ(message("acount= 1\r\n"), u"' 1' is not a valid integer value\r\n履歴.flt: acount");
  EXPECT_EQ(message("BCOUNT=99999999999\r\n"),
            u"'99999999999' is not a valid integer value\r\n履歴.flt: bcount");
  EXPECT_EQ(message("kaigyo=\r\n"), u"accepted");  // an empty count is 0, not missing
}

TEST(FilterFile, ReadsByListNameAndWritesByItsOwnName) {
  const testing_support::TestFolder folder;
  const io::AppFolder app(folder.Dir(), PlatformTextServices());
  const io::FileSystem& files = PlatformFileSystem();

  filters::FilterDef def = SampleDef();
  filters::WriteFilterFile(files, app, def);
  const std::u16string path = folder.File(u"履歴.flt");
  EXPECT_EQ(filters::FilterFilePath(app, def.filname), path);
  EXPECT_EQ(files.ReadAll(path), filters::FormatFilterFile(def));
  EXPECT_EQ(filters::ReadFilterFile(files, app, def.filname), def);

  // A file whose inner name differs is still found by the list's name.
  files.WriteAll(folder.File(u"other.flt"), filters::FormatFilterFile(def));
  EXPECT_EQ(filters::ReadFilterFile(files, app, "other").filname, def.filname);

  EXPECT_THROW(filters::ReadFilterFile(files, app, "missing"), io::FileOpenError);
}

TEST(FilterFile, RenamingSetsTheFilnameLineInItsPlaceAndKeepsTheRest) {
  // Another key spelling, an unknown key and a line without '=' all stay; only the first
  // filname line's value changes.
  EXPECT_EQ(
      filters::WithFilname("type=1\r\nFILNAME=old=x\nextra=1\rno equals\r\nfilname=second", "new"),
      "type=1\r\nFILNAME=new\r\nextra=1\r\nno equals\r\nfilname=second\r\n");
  // Without a filname line, one goes at the end; a zero byte ends the text as for the reader.
  EXPECT_EQ(filters::WithFilname("type=2\r\nfilnamex=1\r\n", "\x95\x5C"),
            "type=2\r\nfilnamex=1\r\nfilname=\x95\x5C\r\n");
  EXPECT_EQ(filters::WithFilname("", "n"), "filname=n\r\n");
  EXPECT_EQ(filters::WithFilname(std::string("type=3\r\n\0filname=z\r\n", 21), "n"),
            "type=3\r\nfilname=n\r\n");

  filters::FilterDef def = SampleDef();
  def.filname = "renamed";
  EXPECT_EQ(Parse(filters::WithFilname(filters::FormatFilterFile(SampleDef()), "renamed")), def);
}

}  // namespace
}  // namespace pellix::capture
