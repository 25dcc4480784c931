#include <gtest/gtest.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "core/app/background_writer.h"
#include "core/app/changed_files.h"
#include "core/app/saver.h"
#include "core/app/startup.h"
#include "core/io/errors.h"
#include "core/lists/default_lists.h"
#include "core/lists/list_file.h"
#include "core/platform_services.h"
#include "test_folder.h"

namespace pellix::app {
namespace {

// Files in memory. A write of `gatePath` waits until the gate opens, so a test can hold the
// background thread in the middle of a write; a write of `failPath` fails.
class MemoryFiles final : public io::FileSystem {
 public:
  bool Exists(const std::u16string& path) const override {
    const std::lock_guard lock(mutex_);
    return content_.contains(path);
  }
  std::string ReadAll(const std::u16string& path) const override {
    const std::lock_guard lock(mutex_);
    const auto found = content_.find(path);
    if (found == content_.end()) {
      throw io::FileOpenError(path);
    }
    return found->second;
  }
  void WriteAll(const std::u16string& path, std::string_view bytes) const override {
    std::unique_lock lock(mutex_);
    if (path == failPath) {
      throw io::FileCreateError(path);
    }
    if (path == gatePath) {
      inGate_ = true;
      changed_.notify_all();
      changed_.wait(lock, [this] { return gateOpen_; });
    }
    content_[path] = std::string(bytes);
    ++writes_;
  }
  void RemoveUnfinishedWrites(const std::u16string&) const override {}
  bool Rename(const std::u16string& from, const std::u16string& to) const override {
    const std::lock_guard lock(mutex_);
    if (!content_.contains(from) || content_.contains(to)) {
      return false;
    }
    content_[to] = std::move(content_[from]);
    content_.erase(from);
    return true;
  }

  void WaitInGate() const {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return inGate_; });
  }
  void OpenGate() const {
    const std::lock_guard lock(mutex_);
    gateOpen_ = true;
    changed_.notify_all();
  }
  int Writes() const {
    const std::lock_guard lock(mutex_);
    return writes_;
  }

  std::u16string gatePath;
  std::u16string failPath;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  mutable std::map<std::u16string, std::string> content_;
  mutable bool inGate_ = false;
  mutable bool gateOpen_ = false;
  mutable int writes_ = 0;
};

std::vector<std::u16string> Paths(const std::vector<FileWrite>& writes) {
  std::vector<std::u16string> paths;
  for (const FileWrite& write : writes) {
    paths.push_back(write.path);
  }
  return paths;
}

class ChangedFilesTest : public testing::Test {
 protected:
  ChangedFilesTest() {
    model_.placement = Placement{1, 2, 257, 207};
    LoadModel(model_, std::nullopt, PlatformFileSystem(), app_, services_);
    changed_.MarkWritten(model_);
  }
  std::u16string ListPath(std::string_view name) const { return lists::ListFilePath(app_, name); }

  testing_support::TestFolder folder_;
  const text::TextServices& services_ = PlatformTextServices();
  io::AppFolder app_{folder_.Dir(), services_};
  Model model_;
  ChangedFiles changed_{app_};
};

TEST_F(ChangedFilesTest, HandsOutExactlyTheFilesThatChangedFormattedAsAtExit) {
  // Just loaded: the lists are as their files hold them; the settings go out once.
  EXPECT_EQ(Paths(changed_.Take(model_)), std::vector{SettingsPath(app_)});
  EXPECT_TRUE(changed_.Take(model_).empty());

  model_.lists.InsertAtTop(0, {"copied"});
  std::vector<FileWrite> writes = changed_.Take(model_);
  ASSERT_EQ(Paths(writes), std::vector{ListPath(lists::kHistoryListName)});
  EXPECT_EQ(writes[0].content, "][)copied\r\n");
  EXPECT_TRUE(changed_.Take(model_).empty());

  // A move between lists changes both; the settings follow a change of the options.
  model_.lists.MoveToTop(0, 0, 1);
  model_.view.fontSize = 12;
  writes = changed_.Take(model_);
  EXPECT_EQ(Paths(writes), (std::vector{ListPath(lists::kHistoryListName),
                                        ListPath(lists::kRecordsListName), SettingsPath(app_)}));
  EXPECT_EQ(writes[0].content, "");
  EXPECT_EQ(writes[1].content, "][)copied\r\n");
  EXPECT_NE(writes[2].content.find("fontsize=12\r\n"), std::string::npos);
}

TEST_F(ChangedFilesTest, TheUnicodeListIsWrittenOnceItHasItemsAndStaysClearedWhenEmptied) {
  model_.lists.InsertUnicodeAtTop(u"\u00FC");
  EXPECT_EQ(Paths(changed_.Take(model_)),
            (std::vector{ListPath(lists::kUnicodeListName), SettingsPath(app_)}));
  model_.lists.RemoveItems(lists::ListId::Unicode(), {0});
  const std::vector<FileWrite> writes = changed_.Take(model_);
  ASSERT_EQ(Paths(writes), std::vector{ListPath(lists::kUnicodeListName)});
  EXPECT_EQ(writes[0].content, lists::FormatUnicodeListFile({}));
}

TEST_F(ChangedFilesTest, AFailedWriteAndARenamedListAreHandedOutAgain) {
  model_.lists.InsertAtTop(1, {"kept"});
  ASSERT_EQ(changed_.Take(model_).size(), 2u);  // the list and, the first time, the settings
  changed_.Forget(ListPath(lists::kRecordsListName));
  EXPECT_EQ(Paths(changed_.Take(model_)), std::vector{ListPath(lists::kRecordsListName)});

  model_.lists.RenameSlot(1, "renamed");
  EXPECT_EQ(Paths(changed_.Take(model_)), (std::vector{ListPath("renamed"), SettingsPath(app_)}));
}

TEST(BackgroundWriterTest, WritesInTheBackgroundTheNewestContentOfEachFile) {
  MemoryFiles files;
  files.gatePath = u"first";
  BackgroundWriter writer(files);
  writer.Queue({FileWrite{u"first", "1"}, FileWrite{u"second", "old"}});
  files.WaitInGate();
  // Queued while the thread is busy: the newer content of "second" replaces the older.
  writer.Queue({FileWrite{u"second", "new"}});
  files.OpenGate();
  writer.WaitIdle();
  EXPECT_EQ(files.ReadAll(u"first"), "1");
  EXPECT_EQ(files.ReadAll(u"second"), "new");
  EXPECT_EQ(files.Writes(), 2);
}

TEST(BackgroundWriterTest, AWriteOfTheWindowIsNeverOverwrittenByAnOlderBackgroundOne) {
  MemoryFiles files;
  files.gatePath = u"big";
  BackgroundWriter writer(files);
  const GuardedFileSystem guarded(files, writer);
  writer.Queue({FileWrite{u"big", "list"}, FileWrite{u"pellix.ini", "older"}});
  files.WaitInGate();
  // The window writes the settings while a list is being written: it waits for that write and
  // drops the queued older settings.
  std::thread window([&] { guarded.WriteAll(u"pellix.ini", "newer"); });
  files.OpenGate();
  window.join();
  writer.WaitIdle();
  EXPECT_EQ(files.ReadAll(u"pellix.ini"), "newer");

  // A rename drops a queued write of either name, which would bring the old file back.
  writer.Stop();
  EXPECT_TRUE(guarded.Rename(u"big", u"moved"));
  EXPECT_FALSE(guarded.Exists(u"big"));
}

TEST(BackgroundWriterTest, ReportsFailuresAndWritesNothingOnceStopped) {
  MemoryFiles files;
  files.failPath = u"held";
  BackgroundWriter writer(files);
  writer.Queue({FileWrite{u"held", "x"}, FileWrite{u"fine", "y"}});
  writer.WaitIdle();
  const std::vector<BackgroundWriter::Failure> failures = writer.TakeFailures();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures[0].path, u"held");
  EXPECT_EQ(failures[0].message, io::FileCreateError(u"held").Message());
  EXPECT_TRUE(writer.TakeFailures().empty());

  writer.Stop();
  writer.Queue({FileWrite{u"late", "z"}});
  EXPECT_FALSE(files.Exists(u"late"));
  EXPECT_EQ(files.ReadAll(u"fine"), "y");
}

}  // namespace
}  // namespace pellix::app
