#include <gtest/gtest.h>

#include <chrono>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "core/io/errors.h"
#include "core/io/leftovers.h"
#include "core/platform_services.h"
#include "core/text/utf.h"
#include "test_folder.h"

namespace pellix::io {
namespace {

using testing_support::TestFolder;

const FileSystem& Files() {
  return PlatformFileSystem();
}

TEST(FileSystem, WritesAndReadsBytesExactly) {
  const TestFolder folder;
  const std::u16string path = folder.File(u"履歴.dat");
  std::string bytes = "][)a\r\nb\0c\x82\xA0";
  bytes += std::string(3 << 20, 'x');  // larger than one write chunk
  Files().WriteAll(path, bytes);
  EXPECT_TRUE(Files().Exists(path));
  EXPECT_EQ(Files().ReadAll(path), bytes);

  Files().WriteAll(path, "");
  EXPECT_EQ(Files().ReadAll(path), "");
  EXPECT_EQ(std::filesystem::file_size(folder.Path() / u"履歴.dat"), 0u);
}

TEST(FileSystem, AStreamedWriteReplacesALargeFileWholeOrNotAtAll) {
  const TestFolder folder;
  const std::u16string path = folder.File(u"unicode.dat");
  const std::string old(6 << 20, 'o');  // large enough to be let go after the replace
  Files().WriteAll(path, old);
  int given = 0;
  Files().WriteStream(path, [&]() -> std::string_view {
    static const std::string piece(1 << 20, 'n');
    return given++ < 5 ? std::string_view(piece) : std::string_view();
  });
  EXPECT_EQ(Files().ReadAll(path), std::string(5 << 20, 'n'));
  // A failure while the pieces are made keeps the file as it was.
  EXPECT_THROW(Files().WriteStream(path, []() -> std::string_view { throw RangeError(); }),
               RangeError);
  EXPECT_EQ(Files().ReadAll(path), std::string(5 << 20, 'n'));
  EXPECT_EQ(Files().FileNames(folder.Dir()), std::vector<std::u16string>{u"unicode.dat"});
}

TEST(FileSystem, ReplacingLeavesNoTemporaryFileBehind) {
  const TestFolder folder;
  const std::u16string path = folder.File(u"list.dat");
  Files().WriteAll(path, "old");
  Files().WriteAll(path, "new");
  EXPECT_EQ(Files().ReadAll(path), "new");
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST(FileSystem, MissingFileFailsWithTheOpenMessage) {
  const TestFolder folder;
  const std::u16string path = folder.File(u"none.flt");
  EXPECT_FALSE(Files().Exists(path));
  try {
    Files().ReadAll(path);
    FAIL() << "read a missing file";
  } catch (const FileOpenError& error) {
    EXPECT_EQ(error.Message(), u"ファイル " + path + u" は開けません");
  }
  // A folder is no file either.
  EXPECT_FALSE(Files().Exists(folder.Dir()));
  EXPECT_THROW(Files().ReadAll(folder.Dir()), FileOpenError);
}

TEST(FileSystem, FailedWriteReportsTheCreateMessageAndKeepsTheOldFile) {
  const TestFolder folder;
  const std::u16string missingFolder = folder.File(u"gone/x.dat");
  try {
    Files().WriteAll(missingFolder, "data");
    FAIL() << "wrote into a missing folder";
  } catch (const FileCreateError& error) {
    // The create message, then the system's reason on a line of its own.
    const std::u16string first = u"ファイル " + missingFolder + u" を作成できません";
    EXPECT_TRUE(error.Message().starts_with(first + u"\r\n")) << error.what();
    EXPECT_GT(error.Message().size(), first.size() + 2);
  }

  // A folder standing where the file should go cannot be replaced; what was there stays.
  std::filesystem::create_directory(folder.Path() / "busy.dat");
  std::ofstream(folder.Path() / "busy.dat" / "inside") << "kept";
  EXPECT_THROW(Files().WriteAll(folder.File(u"busy.dat"), "data"), FileCreateError);
  EXPECT_TRUE(std::filesystem::is_directory(folder.Path() / "busy.dat"));
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "busy.dat.saving"));
}

TEST(FileSystem, CleansUpOnlyItsOwnLeftoversInAFolderThatHoldsOtherFiles) {
  const TestFolder folder;
  // This installation's (tag 0a1b2c3d): its unfinished writes, a lock it held, one it was
  // taking over.
  for (const char16_t* name : {u"\u5c65\u6b74.dat.0a1b2c3d.saving", u"pellix.ini.0a1b2c3d.saving",
                               u"memo.txt.0a1b2c3d.saving", u"a.FLT.0a1b2c3d.saving",
                               u"\u5c65\u6b74.dat.bak2.0a1b2c3d.saving",
                               u"unicode.dat.0a1b2c3d.replaced", u"memo.txt.lock.0a1b2c3d.stale"}) {
    Files().WriteAll(folder.File(name), "half");  // becomes the file of that name
  }
  Files().WriteAll(folder.File(u"pellix.ini.lock"), "0a1b2c3d 123\r\n");
  // Another instance's, at work right now on the other PC: its temporary file and its lock.
  Files().WriteAll(folder.File(u"\u5c65\u6b74.dat.99aa88bb.saving"), "theirs");
  Files().WriteAll(folder.File(u"\u5c65\u6b74.dat.lock"), "99aa88bb 456\r\n");
  // An earlier version's, without a tag: a fresh one may be at work, an old one is left over.
  Files().WriteAll(folder.File(u"b.dat.saving"), "fresh");
  Files().WriteAll(folder.File(u"c.dat.saving"), "old");
  // Another program's download in progress, and a file whose name merely contains the suffix.
  Files().WriteAll(folder.File(u"setup.exe.saving"), "theirs");
  Files().WriteAll(folder.File(u"notes.saving.txt"), "mine");
  Files().WriteAll(folder.File(u"\u5c65\u6b74.dat"), "whole");
  // A kill between the two moves of a rename of letter case: the filter waits under its step
  // name; a step file whose list file is back is left alone, and so is one just made.
  Files().WriteAll(folder.File(u"abc.flt.renaming"), "filter");
  Files().WriteAll(folder.File(u"\u5c65\u6b74.dat.renaming"), "other");
  Files().WriteAll(folder.File(u"new.flt.renaming"), "being renamed");
  for (const char* name : {"c.dat.saving", "abc.flt.renaming"}) {
    std::filesystem::last_write_time(
        folder.Path() / name,
        std::filesystem::file_time_type::clock::now() - std::chrono::minutes(2));
  }
  CleanUpLeftovers(Files(), folder.Dir(), u"0a1b2c3d");

  std::vector<std::u16string> names = Files().FileNames(folder.Dir());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (std::vector<std::u16string>{u"abc.flt", u"b.dat.saving", u"new.flt.renaming",
                                         u"notes.saving.txt", u"setup.exe.saving",
                                         u"\u5c65\u6b74.dat", u"\u5c65\u6b74.dat.99aa88bb.saving",
                                         u"\u5c65\u6b74.dat.lock", u"\u5c65\u6b74.dat.renaming"}));
  EXPECT_EQ(Files().ReadAll(folder.File(u"abc.flt")), "filter");
  EXPECT_EQ(Files().ReadAll(folder.File(u"\u5c65\u6b74.dat")), "whole");
}

TEST(FileSystem, MakesNestedFoldersAndRemovesFiles) {
  const TestFolder folder;
  const std::u16string deep = folder.File(u"a\u3042") + u"/b/c/";
  EXPECT_TRUE(Files().CreateFolder(deep));
  EXPECT_TRUE(Files().CreateFolder(deep));  // there already
  Files().WriteAll(deep + u"x.dat", "x");
  EXPECT_EQ(Files().FileNames(deep), std::vector<std::u16string>{u"x.dat"});
  EXPECT_TRUE(Files().Remove(deep + u"x.dat"));
  EXPECT_FALSE(Files().Remove(deep + u"x.dat"));
  EXPECT_TRUE(Files().FileNames(deep).empty());
  // A file in the way is no folder.
  Files().WriteAll(folder.File(u"plain"), "p");
  EXPECT_FALSE(Files().CreateFolder(folder.File(u"plain")));
}

TEST(FileSystem, RenamesAFileButNeverOverAnother) {
  const TestFolder folder;
  Files().WriteAll(folder.File(u"\u5c65\u6b74.flt"), "filter");
  EXPECT_TRUE(Files().Rename(folder.File(u"\u5c65\u6b74.flt"), folder.File(u"new.flt")));
  EXPECT_FALSE(Files().Exists(folder.File(u"\u5c65\u6b74.flt")));
  EXPECT_EQ(Files().ReadAll(folder.File(u"new.flt")), "filter");

  // A name that is taken stays with its file, and the file to be renamed keeps its own.
  Files().WriteAll(folder.File(u"taken.flt"), "other");
  EXPECT_FALSE(Files().Rename(folder.File(u"new.flt"), folder.File(u"taken.flt")));
  EXPECT_EQ(Files().ReadAll(folder.File(u"taken.flt")), "other");
  EXPECT_EQ(Files().ReadAll(folder.File(u"new.flt")), "filter");

  EXPECT_FALSE(Files().Rename(folder.File(u"missing.dat"), folder.File(u"any.dat")));
  EXPECT_FALSE(Files().Exists(folder.File(u"any.dat")));
}

TEST(FileSystem, RenameChangesTheLetterCaseOfAName) {
  const TestFolder folder;
  Files().WriteAll(folder.File(u"abc.dat"), "items");
  EXPECT_TRUE(Files().Rename(folder.File(u"abc.dat"), folder.File(u"ABC.dat")));
  EXPECT_EQ(Files().ReadAll(folder.File(u"ABC.dat")), "items");
  std::vector<std::filesystem::path> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
    names.push_back(entry.path().filename());
  }
  EXPECT_EQ(names, std::vector<std::filesystem::path>{"ABC.dat"});
}

}  // namespace
}  // namespace pellix::io
