#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <map>
#include <mutex>
#include <thread>

#include "core/app/background_writer.h"
#include "core/app/changed_files.h"
#include "core/app/failing_saves.h"
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
  std::vector<std::u16string> FileNames(const std::u16string&) const override { return {}; }
  bool Remove(const std::u16string& path) const override {
    const std::lock_guard lock(mutex_);
    return content_.erase(path) != 0;
  }
  bool CreateFolder(const std::u16string&) const override { return true; }
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
  void Put(const std::u16string& path, std::string bytes) const {
    const std::lock_guard lock(mutex_);
    content_[path] = std::move(bytes);
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
  EXPECT_EQ(writes[0].Content(), "][)copied\r\n");
  EXPECT_TRUE(changed_.Take(model_).empty());

  // A move between lists changes both; the settings follow a change of the options.
  model_.lists.MoveToTop(0, 0, 1);
  model_.view.fontSize = 12;
  writes = changed_.Take(model_);
  EXPECT_EQ(Paths(writes), (std::vector{ListPath(lists::kHistoryListName),
                                        ListPath(lists::kRecordsListName), SettingsPath(app_)}));
  EXPECT_EQ(writes[0].Content(), "");
  EXPECT_EQ(writes[1].Content(), "][)copied\r\n");
  EXPECT_NE(writes[2].Content().find("fontsize=12\r\n"), std::string::npos);
}

TEST_F(ChangedFilesTest, TheUnicodeListIsWrittenOnceItHasItemsAndStaysClearedWhenEmptied) {
  model_.lists.InsertUnicodeAtTop(u"\u00FC");
  EXPECT_EQ(Paths(changed_.Take(model_)),
            (std::vector{ListPath(lists::kUnicodeListName), SettingsPath(app_)}));
  model_.lists.RemoveItems(lists::ListId::Unicode(), {0});
  const std::vector<FileWrite> writes = changed_.Take(model_);
  ASSERT_EQ(Paths(writes), std::vector{ListPath(lists::kUnicodeListName)});
  EXPECT_EQ(writes[0].Content(), lists::FormatUnicodeListFile(lists::WideItems{}));
}

TEST_F(ChangedFilesTest, TheUnicodeListIsFormattedLaterAsItWasWhenHandedOut) {
  model_.lists.InsertUnicodeAtTop(u"first");
  std::vector<FileWrite> writes = changed_.Take(model_);
  ASSERT_EQ(writes.size(), 2u);
  // The list changes before the writer's thread gets to it: the file still holds the state
  // that was handed out, and the list its new one.
  model_.lists.InsertUnicodeAtTop(u"second");
  model_.lists.ReplaceUnicodeItem(1, u"changed");
  EXPECT_EQ(writes[0].Content(), lists::FormatUnicodeListFile(lists::WideItems{u"first"}));
  EXPECT_EQ(model_.lists.UnicodeItems(), (lists::WideItems{u"second", u"changed"}));
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
  writer.Queue({FileWrite(u"big", "list"), FileWrite(u"pellix.ini", "older")});
  files.WaitInGate();
  // The window writes the settings while a list is being written: it drops the queued older
  // settings, and a later write of the list itself waits for the one under way.
  guarded.WriteAll(u"pellix.ini", "newer");
  std::thread window([&] { guarded.WriteAll(u"big", "newest list"); });
  files.OpenGate();
  window.join();
  writer.WaitIdle();
  EXPECT_EQ(files.ReadAll(u"pellix.ini"), "newer");
  EXPECT_EQ(files.ReadAll(u"big"), "newest list");
}

TEST(BackgroundWriterTest, TheWindowsOperationsOnOtherFilesDoNotWaitForAWriteUnderWay) {
  MemoryFiles files;
  files.gatePath = u"unicode.dat";
  files.Put(u"memo.txt", "memo");
  BackgroundWriter writer(files);
  const GuardedFileSystem guarded(files, writer);
  writer.Queue({FileWrite(u"unicode.dat", "huge")});
  files.WaitInGate();
  auto window = std::async(std::launch::async, [&] {
    guarded.WriteAll(u"pellix.ini", "settings");
    return guarded.ReadAll(u"memo.txt") + (guarded.Exists(u"pellix.ini") ? "+ini" : "");
  });
  const bool answered = window.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
  files.OpenGate();
  EXPECT_TRUE(answered) << "the window waited for the write of another file";
  EXPECT_EQ(window.get(), "memo+ini");
}

TEST(BackgroundWriterTest, AReadOrARenameHasTheQueuedWriteOfItsFileMadeFirst) {
  MemoryFiles files;
  files.gatePath = u"busy";
  files.Put(u"a.dat", "old a");
  files.Put(u"b.dat", "old b");
  BackgroundWriter writer(files);
  const GuardedFileSystem guarded(files, writer);
  // Both writes wait behind another file's; the window reads one list and renames the other.
  writer.Queue(
      {FileWrite(u"busy", "x"), FileWrite(u"a.dat", "new a"), FileWrite(u"b.dat", "new b")});
  files.WaitInGate();
  auto read = std::async(std::launch::async, [&] { return guarded.ReadAll(u"a.dat"); });
  auto renamed =
      std::async(std::launch::async, [&] { return guarded.Rename(u"b.dat", u"renamed.dat"); });
  files.OpenGate();
  EXPECT_EQ(read.get(), "new a");
  EXPECT_TRUE(renamed.get());
  writer.WaitIdle();
  EXPECT_EQ(files.ReadAll(u"renamed.dat"), "new b");
  EXPECT_FALSE(files.Exists(u"b.dat"));  // the queued write did not bring the old name back
}

TEST(BackgroundWriterTest, ReportsEveryOutcomeAndWritesNothingWhileStopped) {
  MemoryFiles files;
  files.failPath = u"held";
  BackgroundWriter writer(files);
  writer.Queue({FileWrite(u"held", "x"), FileWrite(u"fine", "y"),
                FileWrite(u"broken", io::FileSystem::Pieces([]() -> std::string_view {
                            throw std::runtime_error("out of memory");
                          }))});
  writer.WaitIdle();
  const std::vector<BackgroundWriter::Outcome> outcomes = writer.TakeOutcomes();
  ASSERT_EQ(outcomes.size(), 3u);
  EXPECT_EQ(outcomes[0].path, u"held");
  EXPECT_EQ(outcomes[0].failure, io::FileCreateError(u"held").Message());
  EXPECT_EQ(outcomes[1].path, u"fine");
  EXPECT_FALSE(outcomes[1].failure);
  // A failure of any kind stays on the writer's thread as that file's outcome.
  ASSERT_TRUE(outcomes[2].failure);
  EXPECT_NE(outcomes[2].failure->find(u"out of memory"), std::u16string::npos);
  EXPECT_TRUE(writer.TakeOutcomes().empty());

  writer.Stop();
  writer.Queue({FileWrite(u"late", "z")});
  EXPECT_FALSE(files.Exists(u"late"));
  EXPECT_EQ(files.ReadAll(u"fine"), "y");
  writer.Resume();
  writer.Queue({FileWrite(u"late", "z")});
  writer.WaitIdle();
  EXPECT_EQ(files.ReadAll(u"late"), "z");
}

TEST(FailingSavesTest, TellsOnceAndTriesAgainLessAndLessOften) {
  FailingSaves failing;
  EXPECT_TRUE(failing.Failed(u"a", 0));  // told
  EXPECT_TRUE(failing.TakeDue(FailingSaves::kFirstRetryMs - 1).empty());
  EXPECT_EQ(failing.TakeDue(FailingSaves::kFirstRetryMs), std::vector<std::u16string>{u"a"});
  EXPECT_TRUE(failing.TakeDue(1'000'000).empty());  // not again before its outcome is back
  std::uint64_t now = FailingSaves::kFirstRetryMs;
  std::uint64_t delay = FailingSaves::kFirstRetryMs;
  for (int round = 0; round < 8; ++round) {
    EXPECT_FALSE(failing.Failed(u"a", now));  // no second box
    delay = std::min(delay * 2, FailingSaves::kLongestRetryMs);
    EXPECT_TRUE(failing.TakeDue(now + delay - 1).empty()) << round;
    now += delay;
    EXPECT_EQ(failing.TakeDue(now).size(), 1u) << round;
  }
  EXPECT_EQ(delay, FailingSaves::kLongestRetryMs);
  // Written again: the next failure is news.
  failing.Written(u"a");
  EXPECT_FALSE(failing.Any());
  EXPECT_TRUE(failing.Failed(u"a", now));
  EXPECT_TRUE(failing.Failed(u"b", now));
}

}  // namespace
}  // namespace pellix::app
