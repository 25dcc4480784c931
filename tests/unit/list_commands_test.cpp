#include "core/lists/list_commands.h"

#include <gtest/gtest.h>

#include "core/platform_services.h"
#include "list_fixtures.h"

namespace pellix::lists {
namespace {

using testing_support::kListA;
using testing_support::kListB;
using testing_support::kUnicodeSlot;
using testing_support::MakeStore;
using testing_support::Numbered;
using testing_support::View;

struct Case {
  const char* what;
  std::size_t count;  // items "i0".. before
  ViewState before;
  Items items;  // afterwards
  EditResult result;
};

TEST(Dellistitem, RemovesTheSelectionAndSelectsTheItemAtTheCaretsPlace) {
  const Case cases[] = {
      {"two selected, caret on one",
       6,
       View({1, 3}, 3),
       {"i0", "i2", "i4", "i5"},
       {true, View({3}, 3)}},
      {"caret's place past the new end",
       5,
       View({3, 4}, 4),
       {"i0", "i1", "i2"},
       {true, View({2}, 2)}},
      {"caret not among the selected",
       5,
       View({0}, 2),
       {"i1", "i2", "i3", "i4"},
       {true, View({2}, 2)}},
      {"everything", 3, View({0, 1, 2}, 1), {}, {true, View({}, std::nullopt)}},
      {"nothing selected only selects the current item",
       3,
       View({}, 1),
       {"i0", "i1", "i2"},
       {false, View({1}, 1)}},
      {"no current item",
       3,
       View({0, 1}, std::nullopt),
       {"i0", "i1", "i2"},
       {false, View({0, 1}, std::nullopt)}},
      {"the topmost item stays topmost",
       10,
       View({1, 2, 6}, 6, 5),
       {"i0", "i3", "i4", "i5", "i7", "i8", "i9"},
       {true, View({6}, 6, 3)}},
      {"a removed topmost item gives way to the next",
       10,
       View({5, 6}, 5, 5),
       {"i0", "i1", "i2", "i3", "i4", "i7", "i8", "i9"},
       {true, View({5}, 5, 5)}},
      {"a view past the list is taken in",
       3,
       View({2, 7}, 9, 8),
       {"i0", "i1", "i2"},
       {false, View({2}, std::nullopt, 2)}},
  };
  for (const Case& c : cases) {
    ListStore store = MakeStore(Numbered(c.count));
    EXPECT_EQ(dellistitem(store, kListA, c.before, false), c.result) << c.what;
    EXPECT_EQ(store.Slot(kListA).items, c.items) << c.what;
  }
}

TEST(Dellistitem, TheLockAndTheUnicodeSlotStopIt) {
  ListStore store = MakeStore(Numbered(3));
  const std::uint64_t revision = store.Revision();
  EXPECT_EQ(dellistitem(store, kListA, View({1}, 1), true), (EditResult{false, View({1}, 1)}));
  EXPECT_EQ(store.Slot(kListA).items, Numbered(3));
  store.SetItems(kUnicodeSlot, {"hidden"});
  EXPECT_FALSE(dellistitem(store, kUnicodeSlot, View({0}, 0), false).changed);
  EXPECT_EQ(store.Slot(kUnicodeSlot).items, Items{"hidden"});
  EXPECT_EQ(store.Revision(), revision + 1);  // only the SetItems above
}

TEST(Clearlistitem, EmptiesTheListUnlessLocked) {
  ListStore store = MakeStore(Numbered(4), {"b"});
  EXPECT_EQ(clearlistitem(store, kListA, View({1}, 1), true), (EditResult{false, View({1}, 1)}));
  EXPECT_EQ(store.Slot(kListA).items.size(), 4u);
  EXPECT_EQ(clearlistitem(store, kListA, View({1}, 1), false),
            (EditResult{true, View({}, std::nullopt)}));
  EXPECT_TRUE(store.Slot(kListA).items.empty());
  EXPECT_EQ(store.Slot(kListB).items, Items{"b"});
  EXPECT_FALSE(clearlistitem(store, kListA, View({}, std::nullopt), false).changed);
}

TEST(Crearh, KeepsTheFrontHalfAndSelectsItsLastItem) {
  const Case cases[] = {
      {"7 keep 3", 7, View({}, 6), {"i0", "i1", "i2"}, {true, View({2}, 2)}},
      {"5 keep 2", 5, View({}, 0), {"i0", "i1"}, {true, View({1}, 1)}},
      {"4 keep 2", 4, View({}, 0), {"i0", "i1"}, {true, View({1}, 1)}},
      {"1 keeps none", 1, View({0}, 0), {}, {true, View({}, std::nullopt)}},
      {"empty", 0, View({}, std::nullopt), {}, {false, View({}, std::nullopt)}},
      {"earlier selections stay, later ones go",
       8,
       View({0, 2, 3, 6}, 6, 5),
       {"i0", "i1", "i2", "i3"},
       {true, View({0, 2, 3}, 3, 3)}},
  };
  for (const Case& c : cases) {
    ListStore store = MakeStore(Numbered(c.count));
    EXPECT_EQ(crearh(store, kListA, c.before), c.result) << c.what;
    EXPECT_EQ(store.Slot(kListA).items, c.items) << c.what;
  }
}

TEST(ItemUpAndDown, OnlyTheCurrentItemMovesAndStaysSelected) {
  struct Move {
    const char* what;
    bool up;
    ViewState before;
    Items items;
    EditResult result;
  };
  const Move moves[] = {
      {"up past an unselected neighbour",
       true,
       View({1, 3}, 3),
       {"i0", "i1", "i3", "i2", "i4"},
       {true, View({1, 2}, 2)}},
      {"up past a selected neighbour",
       true,
       View({2, 3}, 3),
       {"i0", "i1", "i3", "i2", "i4"},
       {true, View({2, 3}, 2)}},
      {"an unselected current item joins the selection",
       false,
       View({4}, 1),
       {"i0", "i2", "i1", "i3", "i4"},
       {true, View({2, 4}, 2)}},
      {"the top item cannot go up", true, View({0}, 0), Numbered(5), {false, View({0}, 0)}},
      {"the bottom item cannot go down", false, View({4}, 4), Numbered(5), {false, View({4}, 4)}},
      {"without a current item nothing moves",
       true,
       View({2}, std::nullopt),
       Numbered(5),
       {false, View({2}, std::nullopt)}},
  };
  for (const Move& m : moves) {
    ListStore store = MakeStore(Numbered(5));
    const EditResult result =
        m.up ? itemup(store, kListA, m.before) : itemdown(store, kListA, m.before);
    EXPECT_EQ(result, m.result) << m.what;
    EXPECT_EQ(store.Slot(kListA).items, m.items) << m.what;
  }
}

TEST(DragWithinList, TheDraggedItemEndsNextToTheItemItWasDroppedOn) {
  struct Drag {
    std::optional<std::size_t> from;
    std::optional<std::size_t> onto;
    Items items;
  };
  const Drag drags[] = {
      {2, 3, {"i0", "i1", "i3", "i2", "i4", "i5"}},  // onto the next one: below it
      {2, 4, {"i0", "i1", "i3", "i2", "i4", "i5"}},  // further down: above the one it hit
      {2, 5, {"i0", "i1", "i3", "i4", "i2", "i5"}}, {5, 2, {"i0", "i1", "i5", "i2", "i3", "i4"}},
      {1, 0, {"i1", "i0", "i2", "i3", "i4", "i5"}},
  };
  for (const Drag& d : drags) {
    ListStore store = MakeStore(Numbered(6));
    const EditResult result = DragWithinList(store, kListA, View({0, 1, 4}, 4, 1), d.from, d.onto);
    EXPECT_EQ(store.Slot(kListA).items, d.items) << *d.from << " onto " << *d.onto;
    // Only the dragged item is selected and current; its place is the new drag index.
    const std::size_t landed = static_cast<std::size_t>(
        std::find(d.items.begin(), d.items.end(), "i" + std::to_string(*d.from)) - d.items.begin());
    EXPECT_EQ(result, (EditResult{true, View({landed}, landed, 1)}));
  }
}

TEST(DragWithinList, ADropThatIsNoMoveChangesNothing) {
  const std::optional<std::size_t> none;
  const std::pair<std::optional<std::size_t>, std::optional<std::size_t>> drops[] = {
      {2, 2}, {none, 2}, {2, none}, {6, 2}, {2, 6}};
  for (const auto& [from, onto] : drops) {
    ListStore store = MakeStore(Numbered(6));
    EXPECT_EQ(DragWithinList(store, kListA, View({1}, 1), from, onto),
              (EditResult{false, View({1}, 1)}));
    EXPECT_EQ(store.Slot(kListA).items, Numbered(6));
  }
}

TEST(MoveToList, ThePressedItemGoesToTheTopOfTheOtherList) {
  const text::TextServices& services = PlatformTextServices();
  ListStore store = MakeStore(Numbered(4), {"b0"});
  // Selected items other than the pressed one stay where they are; the item below the pressed
  // one takes its place at the top of the view.
  EXPECT_EQ(MoveToList(store, kListA, View({0, 1, 2}, 2, 1), 1, kListB, services),
            (EditResult{true, View({1}, 1, 1)}));
  EXPECT_EQ(store.Slot(kListA).items, (Items{"i0", "i2", "i3"}));
  EXPECT_EQ(store.Slot(kListB).items, (Items{"i1", "b0"}));

  // The last item: the new last one is selected.
  EXPECT_EQ(MoveToList(store, kListA, View({}, 0), 2, kListB, services),
            (EditResult{true, View({1}, 1)}));
  EXPECT_EQ(store.Slot(kListB).items, (Items{"i3", "i1", "b0"}));
}

TEST(MoveToList, OntoTheUnicodeListTheTextArrivesConverted) {
  const text::TextServices& services = PlatformTextServices();
  // あ\ (the yen sign of code page 932) and a half-width katakana
  ListStore store = MakeStore({"\x82\xA0\x5C\xB1", "x"}, {}, {u"old"});
  EXPECT_EQ(MoveToList(store, kListA, View({0}, 0), 0, kUnicodeSlot, services),
            (EditResult{true, View({0}, 0)}));
  EXPECT_EQ(store.UnicodeItems(), (WideItems{u"あ\\ｱ", u"old"}));
  EXPECT_TRUE(store.Slot(kUnicodeSlot).items.empty());  // never the slot's hidden list
  EXPECT_EQ(store.Slot(kListA).items, Items{"x"});
  EXPECT_EQ(MoveToList(store, kListA, View({0}, 0), 0, kUnicodeSlot, services),
            (EditResult{true, View({}, std::nullopt)}));
}

TEST(MoveToList, TheShownListItselfOrNoPressedItemChangesNothing) {
  const text::TextServices& services = PlatformTextServices();
  ListStore store = MakeStore(Numbered(3), {"b0"});
  const std::uint64_t revision = store.Revision();
  EXPECT_FALSE(MoveToList(store, kListA, View({1}, 1), 1, kListA, services).changed);
  EXPECT_FALSE(MoveToList(store, kListA, View({1}, 1), std::nullopt, kListB, services).changed);
  EXPECT_FALSE(MoveToList(store, kListA, View({1}, 1), 3, kListB, services).changed);
  EXPECT_FALSE(MoveToList(store, kListA, View({1}, 1), 1, 7, services).changed);
  EXPECT_EQ(store.Revision(), revision);
  EXPECT_EQ(store.Slot(kListA).items, Numbered(3));
}

TEST(EditableList, OnlyAnOrdinaryCurrentList) {
  ListStore store = MakeStore({});
  EXPECT_EQ(EditableList(store), kListA);
  store.SwitchList(kUnicodeSlot);
  EXPECT_EQ(EditableList(store), std::nullopt);
  store.ClearCurrent();
  EXPECT_EQ(EditableList(store), std::nullopt);
}

}  // namespace
}  // namespace pellix::lists
