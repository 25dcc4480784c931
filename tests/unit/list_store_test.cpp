#include "core/lists/list_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/filters/filter_file.h"
#include "core/io/errors.h"
#include "core/lists/default_lists.h"
#include "core/lists/item_conversion.h"
#include "core/lists/list_selector.h"
#include "core/platform_services.h"
#include "test_folder.h"

namespace pellix::lists {
namespace {

class ListStoreTest : public testing::Test {
 protected:
  void WriteFilter(std::string_view name, std::string_view type) {
    filters::FilterDef def;
    def.filname = std::string(name);
    def.type = std::string(type);
    filters::WriteFilterFile(files_, app_, def);
  }
  void Add(std::string_view name) { store_.AddListSlot(files_, app_, services_, name); }

  testing_support::TestFolder folder_;
  const text::TextServices& services_ = PlatformTextServices();
  const io::FileSystem& files_ = PlatformFileSystem();
  io::AppFolder app_{folder_.Dir(), services_};
  ListStore store_;
};

TEST_F(ListStoreTest, AddsSlotsInOrderWithTheirFiltersAndItems) {
  WriteFilter("a", "1");
  WriteFilter("b", "2");
  WriteListFile(files_, app_, "b", {"one", "two\r\nlines"});
  Add("a");
  Add("b");
  ASSERT_EQ(store_.Count(), 2u);
  EXPECT_EQ(store_.Slot(0).name, "a");
  EXPECT_TRUE(store_.Slot(0).items.empty());  // no list file yet: an empty list
  EXPECT_EQ(store_.Slot(0).filter.type, "1");
  EXPECT_EQ(store_.Slot(1).items, (Items{"one", "two\r\nlines"}));
  EXPECT_EQ(store_.Slot(1).filter.type, "2");
  EXPECT_FALSE(store_.Current().has_value());  // adding leaves the current list alone
  EXPECT_FALSE(store_.UnicodeCapture());
}

TEST_F(ListStoreTest, AFailedAddChangesNothing) {
  WriteFilter("a", "1");
  Add("a");
  EXPECT_THROW(Add("nofilter"), io::FileOpenError);
  files_.WriteAll(filters::FilterFilePath(app_, "badcount"), "kaigyo=x\r\n");
  EXPECT_THROW(Add("badcount"), io::IntegerConversionError);
  EXPECT_EQ(store_.Count(), 1u);
}

TEST_F(ListStoreTest, TheUnicodeListKeepsItsItemsApart) {
  WriteFilter("unicode", "0");
  files_.WriteAll(ListFilePath(app_, "unicode"),
                  FormatUnicodeListFile(WideItems{u"\U0001F600", u"b"}));
  Add("unicode");
  EXPECT_TRUE(store_.UnicodeCapture());
  EXPECT_EQ(store_.UnicodeItems(), (WideItems{u"\U0001F600", u"b"}));
  EXPECT_TRUE(store_.Slot(0).items.empty());
  // The name is special only when spelled exactly so.
  WriteFilter("Unicode", "0");
  files_.WriteAll(ListFilePath(app_, "Unicode"), "][)plain\r\n");
  Add("Unicode");
  EXPECT_EQ(store_.Slot(1).items, (Items{"plain"}));
}

TEST_F(ListStoreTest, SwitchingToUnicodeLeavesTheAnsiViewOnTheListBefore) {
  WriteFilter("a", "1");
  WriteFilter("unicode", "0");
  WriteFilter("b", "0");
  WriteListFile(files_, app_, "a", {"x"});
  Add("a");
  Add("unicode");
  Add("b");

  SwitchPlan plan = store_.SwitchList(0);
  EXPECT_FALSE(plan.unicode);
  EXPECT_TRUE(plan.hasItems);
  plan = store_.SwitchList(1);
  EXPECT_TRUE(plan.unicode);
  EXPECT_FALSE(plan.hasItems);
  EXPECT_EQ(store_.Current(), 1u);
  EXPECT_EQ(store_.AnsiShown(), 0u);
  plan = store_.SwitchList(2);
  EXPECT_FALSE(plan.unicode);
  EXPECT_FALSE(plan.hasItems);
  EXPECT_EQ(store_.AnsiShown(), 2u);
  EXPECT_THROW(store_.SwitchList(3), std::out_of_range);
}

TEST_F(ListStoreTest, SavesEveryListAndTheUnicodeListOnlyWhenItHasItems) {
  for (const char* name : {"a", "unicode", "b"}) {
    WriteFilter(name, "0");
  }
  const std::string oldUnicode = FormatUnicodeListFile(WideItems{u"old"});
  files_.WriteAll(ListFilePath(app_, "unicode"), oldUnicode);
  Add("a");
  Add("unicode");
  Add("b");
  store_.SetItems(0, {"x", "y"});
  store_.SetUnicodeItems({});
  store_.SaveListFiles(files_, app_);
  EXPECT_EQ(files_.ReadAll(ListFilePath(app_, "a")), "][)x\r\n][)y\r\n");
  EXPECT_EQ(files_.ReadAll(ListFilePath(app_, "b")), "");
  EXPECT_EQ(files_.ReadAll(ListFilePath(app_, "unicode")), oldUnicode);

  store_.SetUnicodeItems({u"new"});
  store_.SaveListFiles(files_, app_);
  EXPECT_EQ(files_.ReadAll(ListFilePath(app_, "unicode")),
            FormatUnicodeListFile(WideItems{u"new"}));
}

TEST_F(ListStoreTest, AListThatCannotBeWrittenDoesNotStopTheOthers) {
  for (const char* name : {"a", "blocked", "b", "unicode"}) {
    WriteFilter(name, "0");
    Add(name);
  }
  std::filesystem::create_directory(folder_.Path() / "blocked.dat");
  store_.SetItems(0, {"first"});
  store_.SetItems(2, {"after"});
  store_.SetUnicodeItems({u"wide"});
  try {
    store_.SaveListFiles(files_, app_);
    FAIL() << "a list that cannot be written went unreported";
  } catch (const io::AppError& error) {
    EXPECT_TRUE(error.Message().starts_with(
        io::FileCreateError(ListFilePath(app_, "blocked")).Message() + u"\r\n"));
  }
  EXPECT_EQ(files_.ReadAll(ListFilePath(app_, "a")), "][)first\r\n");
  EXPECT_EQ(files_.ReadAll(ListFilePath(app_, "b")), "][)after\r\n");
  EXPECT_EQ(files_.ReadAll(ListFilePath(app_, "unicode")),
            FormatUnicodeListFile(WideItems{u"wide"}));
}

TEST_F(ListStoreTest, FirstStartMakesTheThreeDefaultListsFromNothing) {
  AddDefaultLists(store_, files_, app_, services_);
  ASSERT_EQ(store_.Count(), 3u);
  EXPECT_EQ(store_.Slot(0).name, kHistoryListName);
  EXPECT_EQ(store_.Slot(0).filter.type, "1");
  EXPECT_EQ(store_.Slot(0).filter.filname, kHistoryListName);
  EXPECT_EQ(store_.Slot(1).filter.type, "0");
  EXPECT_EQ(store_.Slot(2).name, "unicode");
  EXPECT_TRUE(store_.UnicodeCapture());
  EXPECT_TRUE(files_.Exists(folder_.File(u"履歴.flt")));
  EXPECT_TRUE(files_.Exists(folder_.File(u"記録.flt")));

  // A filter the user changed is not overwritten at the next start.
  filters::FilterDef mine = store_.Slot(0).filter;
  mine.type = "2";
  filters::WriteFilterFile(files_, app_, mine);
  ListStore again;
  AddDefaultLists(again, files_, app_, services_);
  EXPECT_EQ(again.Slot(0).filter.type, "2");
}

TEST(ListStoreSteps, RefuseIndicesThatAreNotThereAndChangeNothing) {
  ListStore store;
  store.AddSlot(ListSlot{"a", {"x", "y", "z"}, {}});
  store.AddSlot(ListSlot{"b", {}, {}});
  const std::uint64_t revision = store.Revision();
  const ListId a = ListId::Ansi(0);
  EXPECT_THROW(store.RemoveItems(a, {2, 1}), io::RangeError);
  EXPECT_THROW(store.RemoveItems(a, {1, 1}), io::RangeError);
  EXPECT_THROW(store.RemoveItems(a, {0, 3}), io::RangeError);
  EXPECT_THROW(store.SwapItems(a, 0, 3), io::RangeError);
  EXPECT_THROW(store.MoveItem(a, 3, 0), io::RangeError);
  EXPECT_THROW(store.SplitItems(0, {{1, {}}}), io::RangeError);
  EXPECT_THROW(store.SplitItems(0, {{2, {"p", "q"}}, {1, {"r", "s"}}}), io::RangeError);
  EXPECT_THROW(store.Reorder(0, {0, 0, 1}), io::RangeError);
  EXPECT_THROW(store.Reorder(0, {0, 1}), io::RangeError);
  EXPECT_THROW(store.MoveToTop(0, 0, 0), io::RangeError);
  EXPECT_THROW(store.MoveToTop(0, 3, 1), io::RangeError);
  EXPECT_THROW(store.OpenItem(ItemPlace{ListId::Unicode(), 0}), io::RangeError);
  EXPECT_EQ(store.Slot(0).items, (Items{"x", "y", "z"}));
  EXPECT_TRUE(store.Slot(1).items.empty());
  EXPECT_EQ(store.Revision(), revision);
  EXPECT_FALSE(store.Opened().Origin());
}

TEST(ListSelectorKeys, OpenDropDownSwitchesOnlyOnEnterOrClick) {
  ListSelectorKeys keys;
  EXPECT_TRUE(keys.Changed());  // closed selector: every change switches
  EXPECT_FALSE(keys.KeyWhileDropped(false));
  EXPECT_FALSE(keys.Changed());  // the arrow key's change is swallowed
  EXPECT_TRUE(keys.Changed());   // a click afterwards switches
  EXPECT_TRUE(keys.KeyWhileDropped(true));
  // An arrow key at the end of the list changes nothing; closing clears its flag.
  keys.KeyWhileDropped(false);
  keys.ClosedUp();
  EXPECT_TRUE(keys.Changed());
}

TEST(ConvertFocusedItem, ConvertsOnlyTheFocusedItem) {
  const text::TextServices& services = PlatformTextServices();
  ListStore store;
  store.AddSlot(ListSlot{"a", {"Abc", "\x82\x60\x82\x50", "xYz"}, {}});  // the middle: Ａ１
  const auto convert = [&](int focused, ItemConversion conversion) {
    return ConvertFocusedItem(store, 0, focused, conversion, services);
  };
  const std::uint64_t before = store.Revision();
  EXPECT_FALSE(convert(-1, ItemConversion::kToUpperCase));
  EXPECT_FALSE(convert(3, ItemConversion::kToUpperCase));
  EXPECT_EQ(store.Slot(0).items, (Items{"Abc", "\x82\x60\x82\x50", "xYz"}));
  EXPECT_EQ(store.Revision(), before);

  EXPECT_TRUE(convert(2, ItemConversion::kToUpperCase));
  EXPECT_TRUE(convert(1, ItemConversion::kFullToHalfWidth));
  EXPECT_EQ(store.Slot(0).items, (Items{"Abc", "A1", "XYZ"}));
  EXPECT_TRUE(convert(0, ItemConversion::kToLowerCase));
  EXPECT_TRUE(convert(1, ItemConversion::kToFullWidth));
  EXPECT_EQ(store.Slot(0).items, (Items{"abc", "\x82\x60\x82\x50", "XYZ"}));
  EXPECT_GT(store.Revision(), before);
}

}  // namespace
}  // namespace pellix::lists

#include "core/lists/list_names.h"

namespace pellix::lists {
namespace {

TEST(IsPlainFileName, RefusesNamesThatWouldLeaveTheFolderOrNameADevice) {
  const text::TextServices& services = PlatformTextServices();
  for (const char* good : {"\x97\x9A\x97\xF0", "unicode", "a=b", "my list", "a.b", "CONSOLE",
                           "COM0", "\x95\x5C", "\x83\x7C"}) {  // 表 and ポ end in 0x5C and 0x7C
    EXPECT_TRUE(IsPlainFileName(services, good)) << good;
  }
  for (const char* bad : {"",         ".",       "..",  "..\\up",  "a/b",       "c:x",  "what?",
                          "a*",       "<x>",     "p|q", "quote\"", "tab\there", "dot.", "space ",
                          "CON",      "con.txt", "Nul", "COM1",    "lpt9.dat",
                          "a\x81",                 // a lead byte at the end does not decode
                          "\x85\x40",              // a pair the code page leaves unassigned
                          "x\x80y",                // a C1 control
                          "\x81.",    "\x81 "}) {  // a broken character before a final dot or blank
    EXPECT_FALSE(IsPlainFileName(services, bad)) << bad;
  }
}

// A lead byte followed by a byte that cannot be its trail is no two-byte character: it decodes
// to U+FFFD and that byte, so the path would gain a separator, a stream name or a wildcard.
TEST(IsPlainFileName, RefusesALeadByteBeforeAByteThatIsNoTrail) {
  const text::TextServices& services = PlatformTextServices();
  const std::string afterLead = std::string("/:*?\"<>\t\x01\x1F", 10) + '\0';
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (lead > 0x9F && lead < 0xE0) {
      continue;
    }
    for (const char next : afterLead) {
      const std::string name = std::string("a") + static_cast<char>(lead) + next + "b";
      EXPECT_FALSE(IsPlainFileName(services, name)) << std::hex << lead << ' ' << int{next};
    }
  }
}

TEST(SharedTexts, ASnapshotKeepsItsStateAndSharesTheTextsWithTheList) {
  SharedWideItems items(WideItems{u"a", u"b"});
  const SharedWideItems::Snapshot before = items.Take();
  const std::u16string* textOfA = &items[0];
  // Changed while the snapshot is read: the list copies its pointers, never a text.
  SharedWideItems::Pointers& edited = items.Edit();
  edited.insert(edited.begin(), SharedWideItems::Share(u"new"));
  edited.pop_back();
  EXPECT_EQ(items, (WideItems{u"new", u"a"}));
  EXPECT_EQ(&items[1], textOfA);
  ASSERT_EQ(before->size(), 2u);
  EXPECT_EQ(*(*before)[0], u"a");
  EXPECT_EQ(*(*before)[1], u"b");
  // With no snapshot left, changes are made in place.
  const SharedWideItems::Pointers* own = &items.Edit();
  EXPECT_EQ(&items.Edit(), own);
  EXPECT_TRUE(SharedWideItems().Take()->empty());
}

}  // namespace
}  // namespace pellix::lists
