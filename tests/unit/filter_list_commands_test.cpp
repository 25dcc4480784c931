#include "core/list_admin/filter_list_commands.h"

#include <gtest/gtest.h>

#include "core/io/errors.h"
#include "core/list_admin/list_name_rules.h"
#include "dialog_fixture.h"

namespace pellix::list_admin {
namespace {

using Names = std::vector<std::u16string>;

class FilterListTest : public testing_support::DialogTest {
 protected:
  NameCheck Check(std::string_view name, std::optional<std::size_t> renamed = std::nullopt) {
    return CheckListName(store_, files_, app_, services_, name, renamed);
  }
  RenameOutcome Rename(std::size_t index, std::string_view name) {
    return RenameList(store_, files_, app_, services_, index, name);
  }
  LoadOutcome Load(std::u16string_view path) {
    return LoadList(store_, files_, app_, services_, path);
  }
  std::vector<std::string> ListNames() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < store_.Count(); ++i) {
      names.push_back(store_.Slot(i).name);
    }
    return names;
  }
};

TEST_F(FilterListTest, NameExistsFoldsCaseAndCanLeaveOneListOut) {
  AddLists({"memo", "\x82\x81"});  // full-width a
  EXPECT_TRUE(NameExists(store_, services_, "MeMo"));
  EXPECT_TRUE(NameExists(store_, services_, "\x82\x60"));  // full-width A
  EXPECT_FALSE(NameExists(store_, services_, "a"));
  EXPECT_FALSE(NameExists(store_, services_, "memo2"));
  EXPECT_FALSE(NameExists(store_, services_, "MEMO", 0));
  EXPECT_TRUE(NameExists(store_, services_, "MEMO", 1));
}

TEST_F(FilterListTest, NameChecksComeInTheirOrder) {
  AddLists({"a", "unicode"});
  files_.WriteAll(FilterPath("gone"), "filname=gone\r\n");  // a deleted list's files
  files_.WriteAll(ListPath("items"), "][)x\r\n");
  EXPECT_EQ(Check(""), NameCheck::kEmpty);
  for (const char* bad : {"a/b", "..\\a", "CON", "what?", "dot.", "x\x81/y", "\x81:"}) {
    EXPECT_EQ(Check(bad), NameCheck::kNotPlainFileName) << bad;
  }
  EXPECT_EQ(Check("A"), NameCheck::kLoaded);
  EXPECT_EQ(Check("gone"), NameCheck::kFilesOfUnloadedList);
  EXPECT_EQ(Check("items"), NameCheck::kFilesOfUnloadedList);
  EXPECT_EQ(Check("new"), NameCheck::kAccepted);
  // A list's own files and its own name do not stand in the way of its new name.
  EXPECT_EQ(Check("A", 0), NameCheck::kAccepted);
  EXPECT_EQ(Check("gone", 0), NameCheck::kFilesOfUnloadedList);
  EXPECT_EQ(Check("unicode", 0), NameCheck::kLoaded);
  EXPECT_EQ(Check("UNICODE", 1), NameCheck::kUnicodeName);
  EXPECT_EQ(Check("other", 1), NameCheck::kUnicodeName);
  EXPECT_EQ(Check("unicode"), NameCheck::kLoaded);
}

TEST_F(FilterListTest, LoadAddsTheListNamedAfterTheChosenFileFromTheProgramFolder) {
  AddLists({"a"});
  store_.SwitchList(0);
  WriteFilter("\x97\x9A\x97\xF0", "1");  // 履歴
  lists::WriteListFile(files_, app_, "\x97\x9A\x97\xF0", {"one", "two"});
  // Only the name counts: the file chosen elsewhere is neither read nor needed.
  const LoadOutcome loaded = Load(u"C:\\elsewhere\\dir.x\\\u5c65\u6b74.flt");
  EXPECT_FALSE(loaded.refusal.has_value());
  EXPECT_EQ(loaded.added, 1u);
  ASSERT_EQ(store_.Count(), 2u);
  EXPECT_EQ(store_.Slot(1).name, "\x97\x9A\x97\xF0");
  EXPECT_EQ(store_.Slot(1).filter.type, "1");
  EXPECT_EQ(store_.Slot(1).items, (lists::Items{"one", "two"}));
  EXPECT_EQ(store_.Current(), 0u);
}

TEST_F(FilterListTest, LoadRefusesALoadedNameAndANameNoFileCanHave) {
  AddLists({"memo"});
  const auto before = store_.Revision();
  EXPECT_EQ(Load(u"C:\\x\\MEMO.flt").refusal,
            (Refusal{u"すでにロードされています！", BoxKind::kWarning}));
  const LoadOutcome device = Load(u"C:\\x\\con.flt");
  ASSERT_TRUE(device.refusal.has_value());
  EXPECT_EQ(device.refusal->message,
            u"「con」はファイル名に使えないため、フィルター名にできません");
  // A character code page 932 has no place for cannot become a list name either.
  EXPECT_TRUE(Load(u"C:\\x\\\U0001F600.flt").refusal.has_value());
  EXPECT_EQ(store_.Revision(), before);
  EXPECT_EQ(store_.Count(), 1u);
}

TEST_F(FilterListTest, LoadWithoutAFilterFileInTheFolderFailsAndAddsNothing) {
  AddLists({"a"});
  EXPECT_THROW(Load(u"D:\\other\\stray.flt"), io::FileOpenError);
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"a"}));
}

TEST_F(FilterListTest, RenameMovesBothFilesAndKeepsTheFilterFilesOtherLines) {
  AddLists({"a", "b"});
  store_.SwitchList(0);
  files_.WriteAll(FilterPath("a"), "type=2\r\nFilName=a\r\nmine=kept\r\nastring=x y\r\n");
  lists::WriteListFile(files_, app_, "a", {"item"});

  const RenameOutcome renamed = Rename(0, "\x95\x5C");  // 表, second byte 0x5C
  EXPECT_TRUE(renamed.renamed);
  EXPECT_FALSE(renamed.refusal.has_value());
  EXPECT_EQ(store_.Slot(0).name, "\x95\x5C");
  EXPECT_EQ(store_.Slot(0).filter.filname, "\x95\x5C");
  EXPECT_EQ(store_.Current(), 0u);
  EXPECT_EQ(files_.ReadAll(FilterPath("\x95\x5C")),
            "type=2\r\nFilName=\x95\x5C\r\nmine=kept\r\nastring=x y\r\n");
  EXPECT_EQ(files_.ReadAll(ListPath("\x95\x5C")), "][)item\r\n");
  EXPECT_EQ(FileNames(), (Names{u"b.flt", u"\u8868.dat", u"\u8868.flt"}));
}

TEST_F(FilterListTest, RenameOfAListNeverSavedMovesOnlyItsFilter) {
  AddLists({"a"});
  EXPECT_TRUE(Rename(0, "c").renamed);
  EXPECT_EQ(FileNames(), (Names{u"c.flt"}));
  EXPECT_EQ(filters::ReadFilterFile(files_, app_, "c").filname, "c");
}

TEST_F(FilterListTest, RenameToTheSameNameDoesNothingAndCaseAloneRenames) {
  AddLists({"abc"});
  const auto before = store_.Revision();
  EXPECT_EQ(Rename(0, "abc"), (RenameOutcome{}));
  EXPECT_EQ(store_.Revision(), before);

  lists::WriteListFile(files_, app_, "abc", {"kept"});
  EXPECT_TRUE(Rename(0, "ABC").renamed);
  EXPECT_EQ(store_.Slot(0).name, "ABC");
  EXPECT_EQ(FileNames(), (Names{u"ABC.dat", u"ABC.flt"}));
  EXPECT_EQ(filters::ReadFilterFile(files_, app_, "ABC").filname, "ABC");
}

TEST_F(FilterListTest, RenameRefusalsChangeNeitherListsNorFiles) {
  AddLists({"a", "b", "unicode"});
  files_.WriteAll(FilterPath("deleted"), "filname=deleted\r\n");
  lists::WriteListFile(files_, app_, "olditems", {"old"});
  const Names filesBefore = FileNames();
  const auto before = store_.Revision();
  const auto error = [](std::u16string_view message) {
    return std::optional<Refusal>(Refusal{std::u16string(message), BoxKind::kError});
  };

  EXPECT_EQ(Rename(0, "B").refusal, error(u"すでにその名前のフィルターがあります"));
  EXPECT_EQ(Rename(0, "deleted").refusal, error(u"すでにその名前のフィルターがあります"));
  EXPECT_EQ(Rename(0, "olditems").refusal, error(u"すでにその名前のフィルターがあります"));
  EXPECT_EQ(Rename(0, "").refusal, error(u"フィルター名がありません"));
  EXPECT_EQ(Rename(0, "a\\b").refusal,
            error(u"「a\\b」はファイル名に使えないため、フィルター名にできません"));
  EXPECT_EQ(Rename(2, "wide").refusal, error(kUnicodeNameMessage));
  EXPECT_EQ(store_.Revision(), before);
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"a", "b", "unicode"}));
  EXPECT_EQ(FileNames(), filesBefore);
}

TEST_F(FilterListTest, RenameWhoseFilterFileIsGoneFailsAndChangesNothing) {
  AddLists({"a"});
  std::filesystem::remove(folder_.Path() / "a.flt");
  EXPECT_THROW(Rename(0, "b"), io::FileOpenError);
  EXPECT_EQ(store_.Slot(0).name, "a");
  EXPECT_TRUE(FileNames().empty());
}

TEST_F(FilterListTest, AFilterFileThatCannotBeRenamedIsWrittenUnderTheNewName) {
  // The next start reads "<new name>.flt"; without it the program could not start.
  AddLists({"a"});
  files_.renamesFail = true;
  EXPECT_TRUE(Rename(0, "b").renamed);
  EXPECT_EQ(filters::ReadFilterFile(files_, app_, "b").filname, "b");
}

TEST_F(FilterListTest, DeleteKeepsTheFilesSoLoadingBringsTheListBack) {
  AddLists({"a", "b"});
  lists::WriteListFile(files_, app_, "b", {"saved"});
  store_.SwitchList(1);
  const DeleteOutcome deleted = DeleteList(store_, 1);
  EXPECT_TRUE(deleted.currentChanged);
  EXPECT_EQ(deleted.current, 0u);
  EXPECT_FALSE(deleted.plan.unicode);
  EXPECT_TRUE(deleted.ansiViewEmptied);
  EXPECT_EQ(FileNames(), (Names{u"a.flt", u"b.dat", u"b.flt"}));
  // The name is free again for loading, but a new list may not take over those files.
  EXPECT_EQ(Check("b"), NameCheck::kFilesOfUnloadedList);
  EXPECT_EQ(Load(u"C:\\b.flt").added, 1u);
  EXPECT_EQ(store_.Slot(1).items, (lists::Items{"saved"}));
}

TEST_F(FilterListTest, MovingKeepsTheCurrentListCurrentAndStopsAtTheEnds) {
  AddLists({"a", "b", "c"});
  store_.SwitchList(1);
  EXPECT_EQ(MoveList(store_, 0, Direction::kUp), std::nullopt);
  EXPECT_EQ(MoveList(store_, 2, Direction::kDown), std::nullopt);
  // The list above the current one goes down: the current one is one place higher.
  EXPECT_EQ(MoveList(store_, 0, Direction::kDown), 1u);
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(store_.Current(), 0u);
  // Moving the current list itself: it stays current at its new place, again and again.
  EXPECT_EQ(MoveList(store_, 0, Direction::kDown), 1u);
  EXPECT_EQ(MoveList(store_, 1, Direction::kDown), 2u);
  EXPECT_EQ(ListNames(), (std::vector<std::string>{"a", "c", "b"}));
  EXPECT_EQ(store_.Current(), 2u);
  EXPECT_EQ(MoveList(store_, 2, Direction::kUp), 1u);
  EXPECT_EQ(store_.Current(), 1u);
  EXPECT_THROW(MoveList(store_, 3, Direction::kUp), io::RangeError);
  EXPECT_EQ(FileNames(), (Names{u"a.flt", u"b.flt", u"c.flt"}));
}

}  // namespace
}  // namespace pellix::list_admin
