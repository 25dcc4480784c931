// The pieces that let instances on two machines share one folder's files: the merge of key=value
// files, the names sync services give conflict copies, the lock beside a file and the replace
// that never overwrites a version it has not seen.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/io/errors.h"
#include "core/platform_services.h"
#include "core/sync/conflict_copies.h"
#include "core/sync/file_lock.h"
#include "core/sync/key_merge.h"
#include "core/sync/known_file.h"
#include "test_folder.h"

namespace pellix::sync {
namespace {

TEST(KeyMerge, TakesWhatEachSideChangedAndKeepsTheRest) {
  const std::string before = "left=1\r\ntop=2\r\nlist0=a\r\nlist1=b\r\nview=0\r\n";
  // Here the window moved; there a list was added and the view changed.
  const std::string mine = "left=5\r\ntop=2\r\nlist0=a\r\nlist1=b\r\nview=0\r\n";
  const std::string found = "left=1\r\ntop=2\r\nlist0=a\r\nlist1=b\r\nlist2=c\r\nview=2\r\n";
  EXPECT_EQ(MergeKeyLines(found, before, mine),
            "left=5\r\ntop=2\r\nlist0=a\r\nlist1=b\r\nlist2=c\r\nview=2\r\n");
}

TEST(KeyMerge, AKeyChangedOnBothSidesIsThisSidesAndTheListsGoTogether) {
  const std::string before = "view=0\r\nlist0=a\r\nlist1=b\r\n";
  const std::string mine = "view=1\r\nlist0=a\r\nlist1=c\r\n";
  const std::string found = "view=3\r\nlist0=x\r\nlist1=b\r\nlist2=y\r\n";
  // The lists were changed on both sides: this side's list of lists wins whole.
  EXPECT_EQ(MergeKeyLines(found, before, mine), "view=1\r\nlist0=a\r\nlist1=c\r\n");
}

TEST(KeyMerge, RemovalsOnEitherSideAndUnknownKeysThere) {
  const std::string before = "a=1\r\nb=2\r\nc=3\r\n";
  const std::string mine = "a=1\r\nc=3\r\n";            // b removed here
  const std::string found = "a=1\r\nb=2\r\nnew=9\r\n";  // c removed there, new added
  EXPECT_EQ(MergeKeyLines(found, before, mine), "a=1\r\nnew=9\r\n");
  // A single instance writes exactly what it means to.
  EXPECT_EQ(MergeKeyLines(before, before, mine), mine);
}

TEST(ConflictCopies, EachServicesNamesAreFoundForEveryOwnFile) {
  const std::vector<std::u16string> own{u"履歴.dat", u"pellix.ini", u"memo.txt", u"unicode.dat",
                                        u"記録.flt"};
  const std::vector<std::u16string> folder;
  const auto of = [&](std::u16string_view name) { return ConflictCopyOf(name, own, folder); };
  EXPECT_EQ(of(u"履歴.sync-conflict-20261209-153012-ABCDEF1.dat"), u"履歴.dat");
  EXPECT_EQ(of(u"pellix.sync-conflict-20261209-153012-7XK2LQA.ini"), u"pellix.ini");
  EXPECT_EQ(of(u"memo (pc-a's conflicted copy 2026-12-09).txt"), u"memo.txt");
  EXPECT_EQ(of(u"履歴 (ノート の競合コピー 2026-12-09 (1)).dat"), u"履歴.dat");
  EXPECT_EQ(of(u"unicode-DESKTOP-7Q2.dat"), u"unicode.dat");
  EXPECT_EQ(of(u"記録-LAPTOP-2.flt"), u"記録.flt");
  EXPECT_EQ(of(u"履歴.DAT"), std::nullopt);  // the file itself, in another case
  EXPECT_EQ(of(u"履歴.sync-conflict-2026129-153012-ABCDEF1.dat"), std::nullopt);
  EXPECT_EQ(of(u"履歴-backup.dat"), std::nullopt);  // not a machine's name: a user's copy
  EXPECT_EQ(of(u"履歴 (copy).dat"), std::nullopt);
  EXPECT_EQ(of(u"メモ.txt"), std::nullopt);
}

TEST(ConflictCopies, AListNamedLikeACopyIsNoCopy) {
  const std::vector<std::u16string> own{u"履歴.dat", u"履歴.flt", u"履歴-PC2.dat"};
  EXPECT_EQ(ConflictCopyOf(u"履歴-PC2.dat", own, {}), std::nullopt);
  // A list made on the other machine that this one has not loaded yet: its filter is there.
  EXPECT_EQ(ConflictCopyOf(u"履歴-PC3.dat", own, {u"履歴-pc3.flt"}), std::nullopt);
  EXPECT_EQ(ConflictCopyOf(u"履歴-PC3.dat", own, {}), u"履歴.dat");
}

// A clock the test moves; sleeping moves it too, so a wait costs no real time.
struct TestClock {
  std::uint64_t now = 1000;
  LockTiming Timing() {
    return LockTiming{[this] { return now; }, [this](unsigned ms) { now += ms; }, 4000, 10000};
  }
};

class SharedFileTest : public testing::Test {
 protected:
  std::u16string Path(std::u16string_view name) const { return folder_.File(std::u16string(name)); }
  void Put(std::u16string_view name, std::string_view bytes) const {
    files_.WriteAll(Path(name), bytes);
  }

  testing_support::TestFolder folder_;
  const io::FileSystem& files_ = PlatformFileSystem();
  TestClock clock_;
};

TEST_F(SharedFileTest, OneLockAtATimeAndItGoesWithItsHolder) {
  const std::u16string target = Path(u"履歴.dat");
  {
    std::optional<FileLock> first = FileLock::Take(files_, target, "a1", clock_.Timing());
    ASSERT_TRUE(first && first->Held());
    EXPECT_TRUE(files_.Exists(target + u".lock"));
    // Another taker waits while the lock keeps changing hands (here: its stamp changes), then
    // gives up after its time.
    const std::uint64_t before = clock_.now;
    EXPECT_FALSE(FileLock::Take(files_, target, "b2",
                                LockTiming{[&] { return clock_.now; },
                                           [&](unsigned ms) {
                                             clock_.now += ms;
                                             // A holder that renews.
                                             files_.Remove(target + u".lock");
                                             files_.WriteAll(target + u".lock",
                                                             std::to_string(clock_.now));
                                           },
                                           4000, 10000}));
    EXPECT_GE(clock_.now - before, 10000u);
  }
  files_.Remove(target + u".lock");
  std::optional<FileLock> again = FileLock::Take(files_, target, "b2", clock_.Timing());
  ASSERT_TRUE(again);
  again.reset();
  EXPECT_FALSE(files_.Exists(target + u".lock"));
}

TEST_F(SharedFileTest, ALockLeftByAStoppedProgramIsTakenOver) {
  const std::u16string target = Path(u"pellix.ini");
  Put(u"pellix.ini.lock", "gone 1\r\n");
  const std::uint64_t before = clock_.now;
  std::optional<FileLock> lock = FileLock::Take(files_, target, "me", clock_.Timing());
  ASSERT_TRUE(lock && lock->Held());
  EXPECT_GE(clock_.now - before, 4000u);
  EXPECT_LT(clock_.now - before, 10000u);
  EXPECT_EQ(files_.ReadAll(target + u".lock").substr(0, 3), "me ");
}

TEST_F(SharedFileTest, AFolderThatTakesNoNewFilesIsWrittenWithoutALock) {
  const std::u16string target = folder_.Dir() + u"missing-folder/履歴.dat";
  std::optional<FileLock> lock = FileLock::Take(files_, target, "me", clock_.Timing());
  ASSERT_TRUE(lock);
  EXPECT_FALSE(lock->Held());
}

io::FileSystem::Pieces Bytes(std::string bytes) {
  return [bytes = std::move(bytes), given = false]() mutable -> std::string_view {
    return std::exchange(given, true) ? std::string_view() : std::string_view(bytes);
  };
}

TEST_F(SharedFileTest, AReplaceHappensOnlyOverTheVersionItKnows) {
  const std::u16string path = Path(u"履歴.dat");
  const LockSettings lock{"me", clock_.Timing()};
  // No file yet, and none expected.
  std::optional<KnownFile> written =
      ReplaceIfUnchanged(files_, path, KnownFile{}, Bytes("one"), lock);
  ASSERT_TRUE(written);
  EXPECT_EQ(files_.ReadAll(path), "one");
  EXPECT_EQ(*written, ReadFound(files_, path).known);
  EXPECT_FALSE(files_.Exists(path + u".lock"));
  // Another instance writes the same size within the same instant (times on shares are coarse):
  // the content tells.
  const std::filesystem::path onDisk = folder_.Path() / u8"履歴.dat";
  const auto instant = std::filesystem::file_time_type::clock::now();
  std::filesystem::last_write_time(onDisk, instant);
  const KnownFile known = ReadFound(files_, path).known;
  EXPECT_TRUE(StillAsKnown(files_, path, known));
  Put(u"履歴.dat", "two");
  std::filesystem::last_write_time(onDisk, instant);
  ASSERT_EQ(files_.Stat(path), known.stamp);
  EXPECT_FALSE(StillAsKnown(files_, path, known));
  EXPECT_FALSE(ReplaceIfUnchanged(files_, path, known, Bytes("three"), lock));
  EXPECT_EQ(files_.ReadAll(path), "two");
  // Known again, it is replaced.
  const FoundFile found = ReadFound(files_, path);
  EXPECT_EQ(found.content, "two");
  EXPECT_TRUE(ReplaceIfUnchanged(files_, path, found.known, Bytes("three"), lock));
  EXPECT_EQ(files_.ReadAll(path), "three");
  // A file that went away is written again: no version of another instance is lost by it. A
  // folder in its way makes the write fail as it would without another instance.
  const KnownFile now = ReadFound(files_, path).known;
  files_.Remove(path);
  EXPECT_TRUE(ReplaceIfUnchanged(files_, path, now, Bytes("four"), lock));
  EXPECT_EQ(files_.ReadAll(path), "four");
  const KnownFile four = ReadFound(files_, path).known;
  files_.Remove(path);
  std::filesystem::create_directory(onDisk);
  EXPECT_THROW(ReplaceIfUnchanged(files_, path, four, Bytes("five"), lock), io::FileCreateError);
}

TEST_F(SharedFileTest, TwoWritersAtOnceNeverBothReplaceOneVersion) {
  const std::u16string path = Path(u"履歴.dat");
  Put(u"履歴.dat", "base");
  const LockTiming real{
      [] {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
      },
      [](unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }, 4000, 10000};
  for (int round = 0; round < 20; ++round) {
    const KnownFile known = ReadFound(files_, path).known;
    std::optional<KnownFile> a;
    std::optional<KnownFile> b;
    std::thread first([&] {
      a = ReplaceIfUnchanged(files_, path, known, Bytes("from a " + std::to_string(round)),
                             {"a", real});
    });
    std::thread second([&] {
      b = ReplaceIfUnchanged(files_, path, known, Bytes("from b " + std::to_string(round)),
                             {"b", real});
    });
    first.join();
    second.join();
    ASSERT_NE(a.has_value(), b.has_value()) << "round " << round;
    EXPECT_EQ(files_.ReadAll(path), (a ? "from a " : "from b ") + std::to_string(round));
  }
}

}  // namespace
}  // namespace pellix::sync
