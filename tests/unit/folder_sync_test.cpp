// Two instances of the program sharing one folder, as two PCs on a network share do: each with
// its own model, its own view of the files, and the same files on disk. What one captures,
// deletes or changes reaches the other through the files, and nothing either did is lost.

#include "core/app/folder_sync.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "core/app/changed_files.h"
#include "core/app/saver.h"
#include "core/app/startup.h"
#include "core/filters/filter_file.h"
#include "core/lists/default_lists.h"
#include "core/lists/list_file.h"
#include "core/lists/view_state.h"
#include "core/memo/memo_file.h"
#include "core/platform_services.h"
#include "test_folder.h"

namespace pellix::app {
namespace {

sync::LockSettings TestLock(std::string owner) {
  return sync::LockSettings{
      std::move(owner),
      sync::LockTiming{
          [] {
            return static_cast<std::uint64_t>(
                std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now().time_since_epoch())
                    .count());
          },
          [](unsigned ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }}};
}

// One PC's pellix: the model, its shared files and the pieces that keep them in step. Saves and
// looks run here on the test's thread, as the writer's thread would run them.
class Instance {
 public:
  Instance(const std::u16string& dir, std::string tag)
      : lock_(TestLock(tag)),
        shared_(
            PlatformFileSystem(), dir,
            sync::SharedFiles::Options{lock_, [] { return std::u16string(u"20261209-120000"); }}),
        folder_(dir, PlatformTextServices()),
        changed_(folder_, &shared_),
        sync_(model_, shared_, folder_, PlatformTextServices()) {}

  void Start() {
    LoadFromFolder(model_, shared_, folder_, PlatformTextServices(), u"");
    changed_.MarkWritten(model_);
  }

  lists::ListStore& Lists() { return model_.lists; }
  const lists::ItemList& History() { return model_.lists.Slot(0).items; }
  Model& GetModel() { return model_; }

  void Capture(std::string text) { model_.lists.InsertAtTop(0, {std::move(text)}); }
  void Delete(const std::string& text) {
    const lists::ItemList& items = History();
    const auto found = std::find(items.begin(), items.end(), text);
    ASSERT_NE(found, items.end()) << text;
    model_.lists.RemoveItems(lists::ListId::Ansi(0),
                             {static_cast<std::size_t>(found - items.begin())});
  }

  // What the background writer does with the changed files; a list another instance changed
  // is written after the next look.
  void Save() {
    for (FileWrite& write : changed_.Take(model_)) {
      WriteOutcome outcome;
      outcome.path = write.path;
      try {
        shared_.WriteStream(write.path, write.pieces);
        if (write.afterWrite) {
          write.afterWrite(outcome);
        }
      } catch (const sync::ChangedElsewhere&) {
        outcome.changedElsewhere = true;
        changed_.Forget(write.path);
      }
      changedElsewhere_ = changedElsewhere_ || outcome.changedElsewhere;
      sync_.Written(outcome);
    }
  }
  bool TakeChangedElsewhere() { return std::exchange(changedElsewhere_, false); }

  TakenIn Look() {
    return sync_.TakeIn(
        LookAt(PlatformFileSystem(), PlatformTextServices(), sync_.Request(), lock_,
               [] { return std::u16string(u"20261209-120000"); }),
        [](std::size_t) { return false; }, changed_);
  }

  // Looks and saves until nothing is left to do, as the two timers do.
  void Settle() {
    for (int round = 0; round < 4; ++round) {
      Look();
      Save();
    }
  }

  std::vector<std::u16string> CopiesDone() { return sync_.TakeCopiesDone(); }
  sync::SharedFiles& Shared() { return shared_; }
  FolderSync& Sync() { return sync_; }
  ChangedFiles& Changed() { return changed_; }

 private:
  sync::LockSettings lock_;
  sync::SharedFiles shared_;
  io::AppFolder folder_;
  Model model_;
  ChangedFiles changed_;
  FolderSync sync_;
  bool changedElsewhere_ = false;
};

class TwoPcsTest : public testing::Test {
 protected:
  void SetUp() override {
    // One list and the settings, as a first start makes them.
    Instance first(folder_.Dir(), "first");
    first.Start();
    const io::AppFolder folder(folder_.Dir(), PlatformTextServices());
    Saver(first.Shared(), folder).SaveChanges(first.GetModel());
    a_.Start();
    b_.Start();
  }
  lists::Items FileItems() {
    return lists::ParseListFile(PlatformFileSystem().ReadAll(lists::ListFilePath(
        io::AppFolder(folder_.Dir(), PlatformTextServices()), lists::kHistoryListName)));
  }

  testing_support::TestFolder folder_;
  Instance a_{folder_.Dir(), "aaaaaaaa"};
  Instance b_{folder_.Dir(), "bbbbbbbb"};
};

TEST_F(TwoPcsTest, ACaptureOnOneReachesTheOtherAndADeleteStaysDeleted) {
  a_.Capture("from a");
  a_.Save();
  const TakenIn taken = b_.Look();
  EXPECT_EQ(b_.History(), (lists::Items{"from a"}));
  ASSERT_EQ(taken.lists.size(), 1u);
  EXPECT_EQ(taken.lists[0].inserted, 1u);

  b_.Delete("from a");
  b_.Capture("from b");
  b_.Save();
  a_.Look();
  EXPECT_EQ(a_.History(), (lists::Items{"from b"}));
  // A save of a list that changed nothing here writes nothing back.
  a_.Save();
  a_.Capture("again");
  a_.Save();
  b_.Settle();
  EXPECT_EQ(b_.History(), (lists::Items{"again", "from b"}));
  EXPECT_EQ(FileItems(), (lists::Items{"again", "from b"}));
}

TEST_F(TwoPcsTest, CapturesOnBothBetweenTwoLooksAreAllKeptOnce) {
  for (int round = 0; round < 8; ++round) {
    a_.Capture("a" + std::to_string(round));
    b_.Capture("b" + std::to_string(round));
    // Whoever saves second finds the file changed: it takes the change in, then writes.
    a_.Save();
    b_.Save();
    EXPECT_TRUE(b_.TakeChangedElsewhere());
    b_.Look();
    b_.Save();
    a_.Look();
  }
  a_.Settle();
  b_.Settle();
  std::vector<std::string> all = a_.History().ToVector();
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, (lists::Items{"a0", "a1", "a2", "a3", "a4", "a5", "a6", "a7", "b0", "b1", "b2",
                               "b3", "b4", "b5", "b6", "b7"}));
  EXPECT_EQ(a_.History(), b_.History());
  EXPECT_EQ(FileItems(), a_.History());
}

TEST_F(TwoPcsTest, AnUnchangedListTakesTheOthersOrderAndCountsAsSaved) {
  for (const char* text : {"c", "b", "a"}) {
    a_.Capture(text);
  }
  a_.Save();
  b_.Look();
  // A sort there: nothing added or removed, only moved.
  a_.Lists().Reorder(0, {2, 1, 0});
  a_.Save();
  const TakenIn taken = b_.Look();
  ASSERT_EQ(taken.lists.size(), 1u);
  EXPECT_TRUE(taken.lists[0].replaced);
  EXPECT_EQ(b_.History(), (lists::Items{"c", "b", "a"}));
  // It holds what the file holds: only the settings, looked at every few seconds, may be due.
  for (const FileWrite& write : b_.Changed().Take(b_.GetModel())) {
    EXPECT_EQ(write.path.substr(write.path.size() - 10), u"pellix.ini");
  }
}

TEST_F(TwoPcsTest, AConflictCopyIsMergedAndGoesOnceItsItemsAreSaved) {
  a_.Capture("mine");
  a_.Save();
  // What a sync service leaves when the other PC saved at the same time: its version beside.
  const std::u16string copy =
      folder_.Dir() + u"\u5c65\u6b74.sync-conflict-20261209-120000-ABCDEF1.dat";
  PlatformFileSystem().WriteAll(copy, "][)theirs\r\n");
  a_.Look();
  EXPECT_EQ(a_.History(), (lists::Items{"theirs", "mine"}));
  EXPECT_TRUE(a_.CopiesDone().empty());  // not saved yet
  a_.Save();
  EXPECT_EQ(a_.CopiesDone(), std::vector<std::u16string>{copy});
  EXPECT_EQ(FileItems(), (lists::Items{"theirs", "mine"}));
}

TEST_F(TwoPcsTest, AListFileTheOtherMadeIsKnownFromThenOn) {
  // No Unicode list's file when both started; one PC's capture makes it, the other takes it in
  // and later writes it over the version it took in, at its close as in the background.
  a_.Lists().InsertUnicodeAtTop(u"ユニコード a");
  a_.Save();
  b_.Look();
  EXPECT_EQ(b_.Lists().UnicodeItems(), (lists::WideItems{u"ユニコード a"}));
  b_.Lists().InsertUnicodeAtTop(u"ユニコード b");
  const io::AppFolder folder(folder_.Dir(), PlatformTextServices());
  Saver saver(b_.Shared(), folder);
  EXPECT_TRUE(saver.SaveChanges(b_.GetModel()).empty());
  a_.Look();
  EXPECT_EQ(a_.Lists().UnicodeItems(), (lists::WideItems{u"ユニコード b", u"ユニコード a"}));
}

TEST_F(TwoPcsTest, AFilterChangedThereIsReadAgainUnlessItsEditorIsOpenHere) {
  const io::AppFolder folder(folder_.Dir(), PlatformTextServices());
  filters::FilterDef def = a_.Lists().Slot(0).filter;
  def.astring = "http";
  filters::WriteFilterFile(a_.Shared(), folder, def);
  // The editor open on that list here: the file is left for its OK to merge.
  TakenIn taken = b_.Sync().TakeIn(
      LookAt(PlatformFileSystem(), PlatformTextServices(), b_.Sync().Request(),
             TestLock("bbbbbbbb"), [] { return std::u16string(u"20261209-120000"); }),
      [](std::size_t slot) { return slot == 0; }, b_.Changed());
  EXPECT_TRUE(taken.filtersRead.empty());
  EXPECT_EQ(b_.Lists().Slot(0).filter.astring, "");
  taken = b_.Look();
  EXPECT_EQ(taken.filtersRead, std::vector<std::size_t>{0});
  EXPECT_EQ(b_.Lists().Slot(0).filter.astring, "http");
  EXPECT_EQ(b_.Lists().Slot(0).filter.filname, b_.Lists().Slot(0).name);
}

TEST_F(TwoPcsTest, AMemoChangedOnBothIsKeptBesideAndTold) {
  const io::AppFolder folder(folder_.Dir(), PlatformTextServices());
  const memo::MemoText empty = memo::ReadMemoFile(b_.Shared(), folder, PlatformTextServices());
  memo::WriteMemoFile(a_.Shared(), folder, PlatformTextServices(),
                      memo::MemoText{u"A のメモ", empty.encoding});
  memo::WriteMemoFile(b_.Shared(), folder, PlatformTextServices(),
                      memo::MemoText{u"B のメモ", empty.encoding});
  const std::vector<std::u16string> kept = b_.Shared().TakeKeptMemos();
  ASSERT_EQ(kept, std::vector<std::u16string>{folder_.Dir() + u"memo-20261209-120000.txt"});
  EXPECT_EQ(memo::ParseMemoFile(PlatformTextServices(), PlatformFileSystem().ReadAll(kept[0])).text,
            u"A のメモ");
  EXPECT_EQ(memo::ReadMemoFile(PlatformFileSystem(), folder, PlatformTextServices()).text,
            u"B のメモ");
  // Written again over its own version: nothing more is kept.
  memo::WriteMemoFile(b_.Shared(), folder, PlatformTextServices(),
                      memo::MemoText{u"B のメモ 2", empty.encoding});
  EXPECT_TRUE(b_.Shared().TakeKeptMemos().empty());
}

TEST_F(TwoPcsTest, TheSettingsKeepWhatEachChanged) {
  a_.GetModel().placement.left = 111;
  b_.GetModel().view.fontSize = 14;
  const io::AppFolder folder(folder_.Dir(), PlatformTextServices());
  Saver aSaver(a_.Shared(), folder);
  Saver bSaver(b_.Shared(), folder);
  EXPECT_TRUE(aSaver.SaveChanges(a_.GetModel()).empty());
  // The close writes every list too: the two a wrote just now are taken in first.
  const auto takeIn = [this](const std::u16string& path) {
    b_.Sync().TakeInNow(PlatformFileSystem(), path, b_.Changed());
  };
  EXPECT_EQ(bSaver.SaveChanges(b_.GetModel()).size(), 2u);  // without taking them in: told
  EXPECT_TRUE(bSaver.SaveChanges(b_.GetModel(), takeIn).empty());
  const std::string ini = PlatformFileSystem().ReadAll(folder_.Dir() + u"pellix.ini");
  EXPECT_NE(ini.find("left=111\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("fontsize=14\r\n"), std::string::npos) << ini;
}

// Two PCs with a folder each, kept in step by a sync service: when both saved one file before
// either saw the other's save, the service keeps the newer under the file's name on both sides
// and puts the older beside it, on both sides, as a conflict copy.
class TwoFoldersTest : public testing::Test {
 protected:
  void SetUp() override {
    Instance first(one_.Dir(), "first");
    first.Start();
    const io::AppFolder folder(one_.Dir(), PlatformTextServices());
    Saver(first.Shared(), folder).SaveChanges(first.GetModel());
    for (const auto& entry : std::filesystem::directory_iterator(one_.Path())) {
      std::filesystem::copy_file(entry.path(), two_.Path() / entry.path().filename());
    }
    a_.Start();
    b_.Start();
  }
  std::filesystem::path File(const testing_support::TestFolder& folder, std::string_view name) {
    return folder.Path() / std::filesystem::path(std::u8string(name.begin(), name.end()));
  }
  // Both changed "履歴.dat": `newer`'s version keeps the name on both sides.
  void Conflict(const testing_support::TestFolder& newer, const testing_support::TestFolder& older,
                std::string_view copyName) {
    const auto history = std::string_view("\xe5\xb1\xa5\xe6\xad\xb4.dat");  // 履歴.dat
    std::filesystem::rename(File(older, history), File(older, copyName));
    std::filesystem::copy_file(File(older, copyName), File(newer, copyName));
    std::filesystem::copy_file(File(newer, history), File(older, history),
                               std::filesystem::copy_options::overwrite_existing);
  }
  lists::Items FileItems(const testing_support::TestFolder& folder) {
    return lists::ParseListFile(PlatformFileSystem().ReadAll(lists::ListFilePath(
        io::AppFolder(folder.Dir(), PlatformTextServices()), lists::kHistoryListName)));
  }
  void RemoveCopies(Instance& instance) {
    for (const std::u16string& copy : instance.CopiesDone()) {
      PlatformFileSystem().Remove(copy);
    }
  }

  testing_support::TestFolder one_;
  testing_support::TestFolder two_;
  Instance a_{one_.Dir(), "aaaaaaaa"};
  Instance b_{two_.Dir(), "bbbbbbbb"};
};

TEST_F(TwoFoldersTest, ConflictCopiesOnBothSidesEndInOneListAndStopConflicting) {
  a_.Capture("a");
  b_.Capture("b");
  a_.Save();
  b_.Save();
  Conflict(two_, one_, "\xe5\xb1\xa5\xe6\xad\xb4.sync-conflict-20261209-120000-AAAAAAA.dat");
  a_.Look();
  b_.Look();
  EXPECT_EQ(a_.History(), (lists::Items{"b", "a"}));
  EXPECT_EQ(b_.History(), (lists::Items{"a", "b"}));
  // Both write their merge before the other's arrives: a second conflict, of order alone.
  a_.Save();
  b_.Save();
  RemoveCopies(a_);
  RemoveCopies(b_);
  Conflict(one_, two_, "\xe5\xb1\xa5\xe6\xad\xb4.sync-conflict-20261209-120001-BBBBBBB.dat");
  const auto before = std::filesystem::last_write_time(File(two_, "\xe5\xb1\xa5\xe6\xad\xb4.dat"));
  for (Instance* pc : {&a_, &b_}) {
    pc->Look();
    pc->Save();
    RemoveCopies(*pc);
  }
  // The side whose version lost took the other's order and wrote nothing: no third conflict.
  EXPECT_EQ(std::filesystem::last_write_time(File(two_, "\xe5\xb1\xa5\xe6\xad\xb4.dat")), before);
  EXPECT_EQ(a_.History(), (lists::Items{"b", "a"}));
  EXPECT_EQ(b_.History(), a_.History());
  EXPECT_EQ(FileItems(one_), a_.History());
  EXPECT_EQ(FileItems(two_), a_.History());
  std::vector<std::u16string> names = PlatformFileSystem().FileNames(one_.Dir());
  std::vector<std::u16string> others = PlatformFileSystem().FileNames(two_.Dir());
  std::sort(names.begin(), names.end());
  std::sort(others.begin(), others.end());
  EXPECT_EQ(names, others);
}

TEST_F(TwoFoldersTest, AListMissingFromTheWinningVersionIsWrittenAgain) {
  a_.Capture("x");
  a_.Save();
  Conflict(one_, two_, "\xe5\xb1\xa5\xe6\xad\xb4.sync-conflict-20261209-115959-AAAAAAA.dat");
  b_.Look();
  b_.Save();
  RemoveCopies(b_);
  // Here a capture; there the list written again unchanged, later: the other version wins.
  a_.Capture("a");
  a_.Save();
  const io::AppFolder folder(two_.Dir(), PlatformTextServices());
  ASSERT_TRUE(Saver(b_.Shared(), folder).SaveChanges(b_.GetModel()).empty());
  Conflict(two_, one_, "\xe5\xb1\xa5\xe6\xad\xb4.sync-conflict-20261209-120000-BBBBBBB.dat");
  a_.Look();
  EXPECT_EQ(a_.History(), (lists::Items{"a", "x"}));
  // The file lacks "a": it is written, though nothing came in, and then the copy may go.
  a_.Save();
  EXPECT_EQ(FileItems(one_), (lists::Items{"a", "x"}));
  EXPECT_EQ(a_.CopiesDone().size(), 2u);  // this conflict's copy and the one before it
}

TEST_F(TwoFoldersTest, ADeleteIsNotUndoneByACopyMadeBeforeIt) {
  a_.Capture("z");
  a_.Capture("y");
  a_.Save();
  const std::u16string history = one_.Dir() + u"\u5c65\u6b74.dat";
  const std::string before = PlatformFileSystem().ReadAll(history);
  // Here z is deleted and saved; there a capture was saved on the version that still had z.
  a_.Delete("z");
  a_.Save();
  PlatformFileSystem().WriteAll(
      one_.Dir() + u"\u5c65\u6b74.sync-conflict-20261209-120002-CCCCCCC.dat",
      "][)there\r\n" + before);
  a_.Look();
  EXPECT_EQ(a_.History(), (lists::Items{"there", "y"}));
}

TEST(TakeInView, SelectionFocusAndScrollFollowTheirItems) {
  using lists::AfterTakeIn;
  using lists::ViewState;
  // Items 0..9, 3 and 5 selected, 5 current, scrolled to 4; 1 and 5 go, 2 come in on top.
  const ViewState after = AfterTakeIn(ViewState{{3, 5}, 5, 4}, {1, 5}, 2, 10);
  EXPECT_EQ(after.selected, std::vector<std::size_t>{4});
  EXPECT_EQ(after.caret, 6u);  // item 6, the next that stayed, now at 6 - 2 + 2
  EXPECT_EQ(after.top, 5u);    // item 4 stays topmost
  // At the very top the new items show.
  EXPECT_EQ(AfterTakeIn(ViewState{{0}, 0, 0}, {}, 3, 13).top, 0u);
  EXPECT_EQ(AfterTakeIn(ViewState{{0}, 0, 0}, {}, 3, 13).selected, std::vector<std::size_t>{3});
}

}  // namespace
}  // namespace pellix::app
