#include "core/lists/edit_session.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/lists/bulk_commands.h"
#include "core/lists/list_commands.h"
#include "core/lists/unicode_commands.h"
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

const text::TextServices& Services() {
  return PlatformTextServices();
}

struct Change {
  const char* what;
  std::function<void(ListStore&)> apply;
  Items a;  // the lists after "edited" was written back into item 2 ("i2") of "a"
  Items b;
  WideItems unicode;
};

TEST(EditSession, TheTextGoesBackToTheOpenedItemWhateverHappenedMeanwhile) {
  const Items untouchedB{"b0"};
  const WideItems untouchedUnicode{u"w0"};
  const Change changes[] = {
      {"captures above it",
       [](ListStore& s) {
         s.InsertAtTop(kListA, {"new1", "new2"});
       },
       {"new1", "new2", "i0", "i1", "edited", "i3", "i4"},
       untouchedB,
       untouchedUnicode},
      {"a capture into another list",
       [](ListStore& s) { s.InsertAtTop(kListB, {"x"}); },
       {"i0", "i1", "edited", "i3", "i4"},
       {"x", "b0"},
       untouchedUnicode},
      {"items above it deleted",
       [](ListStore& s) {
         dellistitem(s, kListA, View({0, 1}, 0), false);
       },
       {"edited", "i3", "i4"},
       untouchedB,
       untouchedUnicode},
      {"items below it cut off",
       [](ListStore& s) { s.KeepFirst(ListId::Ansi(kListA), 3); },
       {"i0", "i1", "edited"},
       untouchedB,
       untouchedUnicode},
      {"moved up",
       [](ListStore& s) { itemup(s, kListA, View({2}, 2)); },
       {"i0", "edited", "i1", "i3", "i4"},
       untouchedB,
       untouchedUnicode},
      {"its neighbour moved down past it",
       [](ListStore& s) { itemdown(s, kListA, View({}, 1)); },
       {"i0", "edited", "i1", "i3", "i4"},
       untouchedB,
       untouchedUnicode},
      {"dragged",
       [](ListStore& s) { DragWithinList(s, kListA, View({}, 2), 2, 4); },
       {"i0", "i1", "i3", "edited", "i4"},
       untouchedB,
       untouchedUnicode},
      {"another item dragged past it",
       [](ListStore& s) { DragWithinList(s, kListA, View({}, 0), 0, 4); },
       {"i1", "edited", "i3", "i0", "i4"},
       untouchedB,
       untouchedUnicode},
      {"another item dragged above it",
       [](ListStore& s) { DragWithinList(s, kListA, View({}, 4), 4, 1); },
       {"i0", "i4", "i1", "edited", "i3"},
       untouchedB,
       untouchedUnicode},
      {"an item of another list moved to its top",
       [](ListStore& s) {
         s.SwitchList(kListB);
         MoveToList(s, kListB, View({}, 0), 0, kListA, Services());
       },
       {"b0", "i0", "i1", "edited", "i3", "i4"},
       {},
       untouchedUnicode},
      {"a capture, then a sort",
       [](ListStore& s) {
         s.InsertAtTop(kListA, {"z"});
         asort(s, kListA, View({}, 0), Services());
       },
       {"i0", "i1", "edited", "i3", "i4", "z"},
       untouchedB,
       untouchedUnicode},
      {"an item above it expanded",
       [](ListStore& s) {
         s.ReplaceItem(kListA, 0, "p\r\nq");
         aexpand(s, kListA, View({0, 2}, 0));  // it is one line: it stays itself
       },
       {"p", "q", "i1", "edited", "i3", "i4"},
       untouchedB,
       untouchedUnicode},
      {"replaced in bulk",
       [](ListStore& s) { aplace(s, kListA, View({}, 0), u"i", u"j", Services()); },
       {"j0", "j1", "edited", "j3", "j4"},
       untouchedB,
       untouchedUnicode},
      {"another list shown",
       [](ListStore& s) { s.SwitchList(kListB); },
       {"i0", "i1", "edited", "i3", "i4"},
       untouchedB,
       untouchedUnicode},
      {"moved to another list, then a capture there",
       [](ListStore& s) {
         MoveToList(s, kListA, View({}, 0), 2, kListB, Services());
         s.InsertAtTop(kListB, {"c"});
       },
       {"i0", "i1", "i3", "i4"},
       {"c", "edited", "b0"},
       untouchedUnicode},
      {"moved onto the Unicode list",
       [](ListStore& s) { MoveToList(s, kListA, View({}, 0), 2, kUnicodeSlot, Services()); },
       {"i0", "i1", "i3", "i4"},
       untouchedB,
       {u"edited", u"w0"}},
      // Once the item is gone the text goes to the top of the list it came from.
      {"deleted",
       [](ListStore& s) { dellistitem(s, kListA, View({2}, 2), false); },
       {"edited", "i0", "i1", "i3", "i4"},
       untouchedB,
       untouchedUnicode},
      {"the list cleared",
       [](ListStore& s) { clearlistitem(s, kListA, View({}, 0), false); },
       {"edited"},
       untouchedB,
       untouchedUnicode},
      {"the back half cleared",
       [](ListStore& s) { crearh(s, kListA, View({}, 0)); },
       {"edited", "i0", "i1"},
       untouchedB,
       untouchedUnicode},
      {"expanded into lines",
       [](ListStore& s) {
         s.ReplaceItem(kListA, 2, "x\r\ny");
         aexpand(s, kListA, View({2}, 2));
       },
       {"edited", "i0", "i1", "x", "y", "i3", "i4"},
       untouchedB,
       untouchedUnicode},
      {"moved away and deleted there",
       [](ListStore& s) {
         MoveToList(s, kListA, View({}, 0), 2, kListB, Services());
         s.SwitchList(kListB);
         dellistitem(s, kListB, View({0}, 0), false);
       },
       {"edited", "i0", "i1", "i3", "i4"},
       untouchedB,
       untouchedUnicode},
      {"the list reloaded",
       [](ListStore& s) { s.SetItems(kListA, {"r"}); },
       {"edited", "r"},
       untouchedB,
       untouchedUnicode},
  };
  for (const Change& change : changes) {
    ListStore store = MakeStore(Numbered(5), {"b0"}, {u"w0"});
    ASSERT_EQ(OpenFocusedItem(store, 2, Services()), u"i2");
    change.apply(store);
    EXPECT_TRUE(WriteOpenedItem(store, u"edited", Services()).has_value()) << change.what;
    EXPECT_EQ(store.Slot(kListA).items, change.a) << change.what;
    EXPECT_EQ(store.Slot(kListB).items, change.b) << change.what;
    EXPECT_EQ(store.UnicodeItems(), change.unicode) << change.what;
    EXPECT_FALSE(store.Opened().Place()) << change.what;
  }
}

TEST(EditSession, TellsWhereTheTextWent) {
  ListStore store = MakeStore(Numbered(3));
  OpenFocusedItem(store, 1, Services());
  store.InsertAtTop(kListA, {"new"});
  EXPECT_EQ(WriteOpenedItem(store, u"", Services()),
            (WriteBack{ItemPlace{ListId::Ansi(kListA), 2}, false}));
  EXPECT_EQ(store.Slot(kListA).items, (Items{"new", "i0", "", "i2"}));  // empty is written too

  OpenFocusedItem(store, 0, Services());
  store.SetItems(kListA, {});
  EXPECT_EQ(WriteOpenedItem(store, u"back", Services()),
            (WriteBack{ItemPlace{ListId::Ansi(kListA), 0}, true}));
}

TEST(EditSession, AnOrdinaryListTakesTheTextInCodePage932) {
  ListStore store = MakeStore({"\x95\x5C"});  // 表
  EXPECT_EQ(OpenFocusedItem(store, 0, Services()), u"表");
  WriteOpenedItem(store, u"表\u00E9", Services());
  EXPECT_EQ(store.Slot(kListA).items, Items{"\x95\x5C?"});
}

TEST(EditSession, WithTheUnicodeListShownItsOwnItemIsEdited) {
  ListStore store = MakeStore({"ansi"}, {}, {u"w0", u"w1\U0001F600"});
  store.SwitchList(kUnicodeSlot);
  EXPECT_EQ(OpenFocusedItem(store, 1, Services()), u"w1\U0001F600");
  store.InsertUnicodeAtTop(u"captured");
  store.SwitchList(kListA);
  MoveToList(store, kListA, View({}, 0), 0, kUnicodeSlot, Services());
  EXPECT_EQ(WriteOpenedItem(store, u"edited\U0001F600", Services()),
            (WriteBack{ItemPlace{ListId::Unicode(), 3}, false}));
  EXPECT_EQ(store.UnicodeItems(), (WideItems{u"ansi", u"captured", u"w0", u"edited\U0001F600"}));
  EXPECT_TRUE(store.Slot(kListA).items.empty());

  // Deleted meanwhile: back at the top of the Unicode list.
  store.SwitchList(kUnicodeSlot);
  OpenFocusedItem(store, 0, Services());
  wdelact(store, View({0}, 0));
  EXPECT_EQ(WriteOpenedItem(store, u"again", Services()),
            (WriteBack{ItemPlace{ListId::Unicode(), 0}, true}));
  EXPECT_EQ(store.UnicodeItems(), (WideItems{u"again", u"captured", u"w0", u"edited\U0001F600"}));
}

TEST(EditSession, NothingToOpenOrNothingLeftToWriteInto) {
  ListStore store = MakeStore({}, {"b0"});
  EXPECT_EQ(OpenFocusedItem(store, 0, Services()), std::nullopt);  // an empty list
  store.SwitchList(kListB);
  EXPECT_EQ(OpenFocusedItem(store, std::nullopt, Services()), std::nullopt);
  EXPECT_EQ(OpenFocusedItem(store, 1, Services()), std::nullopt);
  EXPECT_EQ(WriteOpenedItem(store, u"x", Services()), std::nullopt);
  store.ClearCurrent();
  EXPECT_EQ(OpenFocusedItem(store, 0, Services()), std::nullopt);

  // Cancelled: nothing is written, then or later.
  store.SwitchList(kListB);
  ASSERT_TRUE(OpenFocusedItem(store, 0, Services()));
  CancelOpenedItem(store);
  EXPECT_EQ(WriteOpenedItem(store, u"x", Services()), std::nullopt);
  EXPECT_EQ(store.Slot(kListB).items, Items{"b0"});

  // Every list released at the end of the program: nowhere to go.
  ASSERT_TRUE(OpenFocusedItem(store, 0, Services()));
  store.Clear();
  EXPECT_EQ(WriteOpenedItem(store, u"x", Services()), std::nullopt);
}

}  // namespace
}  // namespace pellix::lists
