#include "core/lists/insert_lines.h"

#include <gtest/gtest.h>

#include "core/io/errors.h"
#include "list_fixtures.h"

namespace pellix::lists {
namespace {

using testing_support::kListA;
using testing_support::kListB;
using testing_support::MakeStore;
using testing_support::Numbered;
using testing_support::View;

TEST(InsertLines, TheOpenedItemFollowsItsItem) {
  ListStore store = MakeStore(Numbered(4));
  store.OpenItem(ItemPlace{ListId::Ansi(kListA), 2});
  InsertLines(store, kListA, View({}, 1), {"x", "y"});
  EXPECT_EQ(store.Opened().Place(), (ItemPlace{ListId::Ansi(kListA), 4}));
  EXPECT_EQ(store.Slot(kListA).items.at(4), "i2");

  // An item above the insertion stays where it is.
  store.OpenItem(ItemPlace{ListId::Ansi(kListA), 0});
  InsertLines(store, kListA, View({}, 1), {"z"});
  EXPECT_EQ(store.Opened().Place(), (ItemPlace{ListId::Ansi(kListA), 0}));
}

TEST(InsertLines, OnlyTheListInsertedIntoChanges) {
  ListStore store = MakeStore(Numbered(2), Numbered(2), {u"w"});
  store.OpenItem(ItemPlace{ListId::Unicode(), 0});
  const auto before = store.Revision();
  InsertLines(store, kListB, View({}, 0), {"n"});
  EXPECT_EQ(store.Slot(kListB).items, (Items{"n", "i0", "i1"}));
  EXPECT_EQ(store.Slot(kListA).items, Numbered(2));
  EXPECT_EQ(store.Opened().Place(), (ItemPlace{ListId::Unicode(), 0}));
  EXPECT_GT(store.Revision(), before);
}

TEST(InsertLines, ACaretOutsideTheListCountsAsNone) {
  ListStore store = MakeStore(Numbered(2));
  const EditResult result = InsertLines(store, kListA, View({7}, 9, 5), {"x"});
  EXPECT_EQ(store.Slot(kListA).items, (Items{"x", "i0", "i1"}));
  EXPECT_EQ(result, (EditResult{true, View({0}, 0, 1)}));
}

TEST(InsertLines, IntoAnEmptyListAndAtItsEnd) {
  ListStore store = MakeStore({});
  EXPECT_EQ(InsertLines(store, kListA, View({}, std::nullopt), {"a", "b"}),
            (EditResult{true, View({0, 1}, 0)}));
  store.InsertItems(kListA, 2, {"end"});
  EXPECT_EQ(store.Slot(kListA).items, (Items{"a", "b", "end"}));
  EXPECT_THROW(store.InsertItems(kListA, 4, {"past"}), io::RangeError);
  EXPECT_THROW(store.InsertUnicodeItems(1, {u"past"}), io::RangeError);
}

TEST(InsertUnicodeLines, InsertsAtTheCaretAndFollowsTheOpenedItem) {
  ListStore store = MakeStore({}, {}, {u"a", u"b"});
  store.OpenItem(ItemPlace{ListId::Unicode(), 1});
  const EditResult result = InsertUnicodeLines(store, View({0}, 1), {u"x", u"y"});
  EXPECT_EQ(store.UnicodeItems(), (WideItems{u"a", u"x", u"y", u"b"}));
  EXPECT_EQ(result, (EditResult{true, View({1, 2}, 1)}));
  EXPECT_EQ(store.Opened().Place(), (ItemPlace{ListId::Unicode(), 3}));
}

TEST(InsertUnicodeLines, NoLinesChangeNothing) {
  ListStore store = MakeStore({}, {}, {u"a"});
  const auto before = store.Revision();
  EXPECT_EQ(InsertUnicodeLines(store, View({0}, 0), {}), (EditResult{false, View({0}, 0)}));
  EXPECT_EQ(store.Revision(), before);
}

}  // namespace
}  // namespace pellix::lists
