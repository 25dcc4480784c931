#include "core/app/recovery.h"

#include <gtest/gtest.h>

#include "core/platform_services.h"
#include "test_folder.h"

namespace pellix::app {
namespace {

TEST(Recovery, KeepsTheUnwrittenFilesUnderTheirNamesAndTellsTheNextStartOnce) {
  testing_support::TestFolder folder;
  const io::FileSystem& files = PlatformFileSystem();
  const std::u16string root = folder.File(u"local") + u"/pellix/recovery/";
  const std::u16string exeDir = folder.File(u"\u30D7\u30ED\u30B0\u30E9\u30E0/");
  const std::vector<SaveFailure> failures = {
      {exeDir + u"\u5C65\u6B74.dat", u"ファイル … を作成できません", "][)kept\r\n"},
      {exeDir + u"pellix.ini", u"…", "left=1\r\n"}};

  EXPECT_FALSE(KeepForRecovery(files, root, exeDir, u"20261209-101500", {}));
  const std::optional<std::u16string> kept =
      KeepForRecovery(files, root, exeDir, u"20261209-101500", failures);
  ASSERT_TRUE(kept);
  EXPECT_EQ(*kept, root + u"20261209-101500/");
  EXPECT_EQ(files.ReadAll(*kept + u"\u5C65\u6B74.dat"), "][)kept\r\n");
  EXPECT_EQ(files.ReadAll(*kept + u"pellix.ini"), "left=1\r\n");
  // The same second again: a folder of its own, not a mix of two occasions.
  const std::optional<std::u16string> second =
      KeepForRecovery(files, root, exeDir, u"20261209-101500", failures);
  ASSERT_TRUE(second);
  EXPECT_EQ(*second, root + u"20261209-101500-2/");

  // Another copy of the program hears nothing of it; this one hears of both, once.
  EXPECT_TRUE(TakeRecoveryNotes(files, root, folder.File(u"other/")).empty());
  EXPECT_EQ(TakeRecoveryNotes(files, root, exeDir), (std::vector{*kept, *second}));
  EXPECT_TRUE(TakeRecoveryNotes(files, root, exeDir).empty());
  const std::u16string message = RecoveryMessage({*kept});
  EXPECT_NE(message.find(*kept), std::u16string::npos);
}

TEST(Recovery, SaysSoWhenNothingCouldBeKept) {
  testing_support::TestFolder folder;
  const io::FileSystem& files = PlatformFileSystem();
  // The recovery root is a file: no folder can be made under it.
  files.WriteAll(folder.File(u"blocked"), "");
  EXPECT_FALSE(KeepForRecovery(files, folder.File(u"blocked") + u"/", folder.Dir(), u"x",
                               {{folder.File(u"a.dat"), u"", "a"}}));
}

}  // namespace
}  // namespace pellix::app
