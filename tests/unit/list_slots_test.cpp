// The store's changes of whole lists: what stays current, what the views show, where the edit
// box's item goes.

#include <gtest/gtest.h>

#include "core/io/errors.h"
#include "core/lists/edit_session.h"
#include "core/lists/list_names.h"
#include "core/platform_services.h"
#include "list_fixtures.h"

namespace pellix::lists {
namespace {

using testing_support::MakeStore;

// "a" (2 items), "b" (none), "c" (1 item).
ListStore ThreeLists() {
  ListStore store;
  store.AddSlot(ListSlot{"a", {"a0", "a1"}, {}});
  store.AddSlot(ListSlot{"b", {}, {}});
  store.AddSlot(ListSlot{"c", {"c0"}, {}});
  return store;
}

std::optional<std::string> CurrentName(const ListStore& store) {
  return store.Current() ? std::optional<std::string>(store.Slot(*store.Current()).name)
                         : std::nullopt;
}

TEST(ListSlots, SwappingExchangesWholeListsAndTheCurrentListGoesAlong) {
  ListStore store = ThreeLists();
  store.SwitchList(0);
  store.OpenItem(ItemPlace{ListId::Ansi(0), 1});
  filters::FilterDef filter;
  filter.type = "2";
  store.SetFilter(0, filter);
  const auto before = store.Revision();

  store.SwapSlots(0, 1);
  EXPECT_GT(store.Revision(), before);
  EXPECT_EQ(store.Slot(1).name, "a");
  EXPECT_EQ(store.Slot(1).items, (Items{"a0", "a1"}));
  EXPECT_EQ(store.Slot(1).filter.type, "2");
  EXPECT_EQ(store.Slot(0).name, "b");
  EXPECT_TRUE(store.Slot(0).filter.type.empty());
  EXPECT_EQ(store.Current(), 1u);
  EXPECT_EQ(store.AnsiShown(), 1u);
  EXPECT_EQ(store.Opened().Place(), (ItemPlace{ListId::Ansi(1), 1}));
  EXPECT_EQ(store.Opened().Origin(), ListId::Ansi(1));

  // The list the current one is exchanged with is not current afterwards.
  store.SwapSlots(2, 1);
  EXPECT_EQ(CurrentName(store), "a");
  EXPECT_EQ(store.Current(), 2u);
  EXPECT_THROW(store.SwapSlots(0, 3), io::RangeError);
}

struct RemovalCase {
  const char* what;
  std::size_t current;
  std::size_t removed;
  std::optional<std::string> currentAfter;
  std::optional<std::size_t> currentIndexAfter;
  bool currentRemoved;
};

class ListRemoval : public testing::TestWithParam<RemovalCase> {};

TEST_P(ListRemoval, KeepsTheRightListCurrent) {
  const RemovalCase& c = GetParam();
  SCOPED_TRACE(c.what);
  ListStore store = ThreeLists();
  store.SwitchList(c.current);
  const ListStore::RemovedSlot removed = store.RemoveSlot(c.removed);
  EXPECT_EQ(store.Count(), 2u);
  EXPECT_EQ(removed.currentRemoved, c.currentRemoved);
  EXPECT_EQ(store.Current(), c.currentIndexAfter);
  EXPECT_EQ(CurrentName(store), c.currentAfter);
  if (c.currentRemoved) {
    // The view is told about the list that took the current place.
    EXPECT_FALSE(removed.plan.unicode);
    EXPECT_EQ(removed.plan.hasItems, !store.Slot(*store.Current()).items.empty());
    EXPECT_EQ(store.AnsiShown(), store.Current());
  }
}

INSTANTIATE_TEST_SUITE_P(
    EachCurrentList, ListRemoval,
    testing::Values(RemovalCase{"current and last: the one before", 2, 2, "b", 1, true},
                    RemovalCase{"current, not last: the next one moves in", 0, 0, "b", 0, true},
                    RemovalCase{"current in the middle", 1, 1, "c", 1, true},
                    RemovalCase{"another one before it: one index lower", 2, 0, "c", 1, false},
                    RemovalCase{"another one after it: same index", 0, 2, "a", 0, false}),
    [](const testing::TestParamInfo<RemovalCase>& info) {
      return "Case" + std::to_string(info.index);
    });

TEST(ListSlots, RemovingTheOnlyListLeavesNoListCurrent) {
  ListStore store;
  store.AddSlot(ListSlot{"only", {"x"}, {}});
  store.SwitchList(0);
  const ListStore::RemovedSlot removed = store.RemoveSlot(0);
  EXPECT_TRUE(removed.currentRemoved);
  EXPECT_EQ(store.Count(), 0u);
  EXPECT_FALSE(store.Current().has_value());
  EXPECT_FALSE(store.AnsiShown().has_value());
  EXPECT_TRUE(removed.ansiShownRemoved);
  EXPECT_THROW(store.RemoveSlot(0), io::RangeError);
}

TEST(ListSlots, RemovalShowsTheUnicodeListWhenItMovesIntoTheCurrentPlace) {
  ListStore store = MakeStore({"a0"}, {"b0"}, {u"w0"});  // "a", "b", "unicode"; "a" shown
  store.SwitchList(1);
  const ListStore::RemovedSlot removed = store.RemoveSlot(1);
  EXPECT_TRUE(removed.currentRemoved);
  EXPECT_TRUE(removed.plan.unicode);
  EXPECT_TRUE(removed.plan.hasItems);
  EXPECT_EQ(CurrentName(store), "unicode");
  // The ANSI view lay on the removed list: it must not go on naming a list that is gone.
  EXPECT_TRUE(removed.ansiShownRemoved);
  EXPECT_FALSE(store.AnsiShown().has_value());
}

TEST(ListSlots, RemovingTheListUnderTheUnicodeViewEmptiesTheAnsiView) {
  ListStore store = MakeStore({"a0"}, {"b0"});
  store.SwitchList(1);
  store.SwitchList(testing_support::kUnicodeSlot);
  ASSERT_EQ(store.AnsiShown(), 1u);
  ListStore::RemovedSlot removed = store.RemoveSlot(0);
  EXPECT_FALSE(removed.currentRemoved);
  EXPECT_FALSE(removed.ansiShownRemoved);
  EXPECT_EQ(store.AnsiShown(), 0u);  // still "b", one place up
  removed = store.RemoveSlot(0);
  EXPECT_TRUE(removed.ansiShownRemoved);
  EXPECT_FALSE(store.AnsiShown().has_value());
  EXPECT_EQ(CurrentName(store), "unicode");
}

TEST(ListSlots, TheEditBoxItemFollowsItsListAndGoesWithIt) {
  const text::TextServices& services = PlatformTextServices();
  ListStore store = ThreeLists();
  store.SwitchList(2);
  store.OpenItem(ItemPlace{ListId::Ansi(2), 0});
  store.RemoveSlot(0);
  EXPECT_EQ(store.Opened().Place(), (ItemPlace{ListId::Ansi(1), 0}));
  const auto written = WriteOpenedItem(store, u"edited", services);
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(store.Slot(1).items, (Items{"edited"}));

  // Once its list is deleted, the text has nowhere to go, and no other list receives it.
  store.SwitchList(1);
  store.OpenItem(ItemPlace{ListId::Ansi(1), 0});
  store.RemoveSlot(1);
  EXPECT_FALSE(store.Opened().Place().has_value());
  EXPECT_FALSE(store.Opened().Origin().has_value());
  EXPECT_FALSE(WriteOpenedItem(store, u"lost", services).has_value());
  EXPECT_EQ(store.Slot(0).items, (Items{}));

  // An item that a drag moved to another list stays there when the list it came from goes,
  // but when it is later removed its text has no list to go back to.
  ListStore moved = ThreeLists();
  moved.OpenItem(ItemPlace{ListId::Ansi(0), 0});
  moved.MoveToTop(0, 0, 2);
  moved.RemoveSlot(0);
  EXPECT_EQ(moved.Opened().Place(), (ItemPlace{ListId::Ansi(1), 0}));
  moved.RemoveItems(ListId::Ansi(1), {0});
  EXPECT_FALSE(WriteOpenedItem(moved, u"gone", services).has_value());
  EXPECT_EQ(moved.Slot(1).items, (Items{"c0"}));
}

TEST(ListSlots, AUnicodeItemStaysOpenWhenTheUnicodeSlotGoes) {
  ListStore store = MakeStore({}, {}, {u"w0"});
  store.OpenItem(ItemPlace{ListId::Unicode(), 0});
  store.RemoveSlot(testing_support::kUnicodeSlot);
  EXPECT_EQ(store.Opened().Place(), (ItemPlace{ListId::Unicode(), 0}));
}

TEST(ListNameKey, FoldsLetterCaseAsWindowsFileNamesDo) {
  const text::TextServices& services = PlatformTextServices();
  const auto same = [&](std::string_view a, std::string_view b) {
    return SameListName(services, a, b);
  };
  EXPECT_TRUE(same("Memo", "mEMO"));
  EXPECT_TRUE(same("unicode", "UNICODE"));
  EXPECT_TRUE(same("\x82\x81", "\x82\x60"));  // full-width a and A
  EXPECT_TRUE(same("\x83\xBF", "\x83\x9F"));  // Greek alpha
  EXPECT_TRUE(same("\x84\x70", "\x84\x40"));  // Cyrillic a
  // Small Roman numeral one in both of its byte forms, and capital one in both of its.
  EXPECT_TRUE(same("\xEE\xEF", "\xFA\x40"));
  EXPECT_TRUE(same("\xEE\xEF", "\xFA\x4A"));
  EXPECT_TRUE(same("\x87\x54", "\xFA\x4A"));
  // Width and kana are no case: these are different file names.
  EXPECT_FALSE(same("a", "\x82\x81"));
  EXPECT_FALSE(same("\x83\x41", "\x82\xA0"));  // katakana and hiragana A
  EXPECT_FALSE(same("ab", "abc"));
  // The second byte of a double-byte character is no letter.
  EXPECT_FALSE(same("\x83\x61", "\x83\x41"));
}

}  // namespace
}  // namespace pellix::lists
