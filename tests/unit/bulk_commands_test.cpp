#include "core/lists/bulk_commands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/platform_services.h"
#include "core/text/codec.h"
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

TEST(Aexpand, SplitsEverySelectedItemIntoItsLines) {
  ListStore store = MakeStore({"top", "one\r\n\r\nthree", "keep\r\nme", "", "a\rb\nc\r\n", "end"});
  const EditResult result = aexpand(store, kListA, View({1, 3, 4}, 4, 0));
  EXPECT_TRUE(result.changed);
  // The empty middle line stays; the break at the very end gives no empty item; the empty item
  // stays; the unselected item is not split.
  EXPECT_EQ(store.Slot(kListA).items,
            (Items{"top", "one", "", "three", "keep\r\nme", "", "a", "b", "c", "end"}));
  // The lines stand selected where their items were; the caret is on the first line of its item.
  EXPECT_EQ(result.view, View({1, 2, 3, 5, 6, 7, 8}, 6, 0));
}

TEST(Aexpand, CaretAndTopStayOnTheirItems) {
  ListStore store = MakeStore({"a\r\nb\r\nc", "x", "y\r\nz", "w"});
  const EditResult result = aexpand(store, kListA, View({0, 2}, 3, 1));
  EXPECT_EQ(store.Slot(kListA).items, (Items{"a", "b", "c", "x", "y", "z", "w"}));
  EXPECT_EQ(result.view, View({0, 1, 2, 4, 5}, 6, 3));
}

TEST(Aexpand, NothingToSplitChangesNothing) {
  ListStore store = MakeStore({"single", "", "two\r\nlines"});
  const std::uint64_t revision = store.Revision();
  EXPECT_EQ(aexpand(store, kListA, View({0, 1}, 0)), (EditResult{false, View({0, 1}, 0)}));
  EXPECT_EQ(aexpand(store, kListA, View({}, 2)), (EditResult{false, View({}, 2)}));
  EXPECT_EQ(store.Revision(), revision);
  // A zero byte is text like any other.
  ListStore zero = MakeStore({std::string("a\0b\r\nc", 6)});
  EXPECT_TRUE(aexpand(zero, kListA, View({0}, 0)).changed);
  EXPECT_EQ(zero.Slot(kListA).items, (Items{std::string("a\0b", 3), "c"}));
  // A single line that ends with a break loses the break.
  ListStore trailing = MakeStore({"line\r\n"});
  EXPECT_TRUE(aexpand(trailing, kListA, View({0}, 0)).changed);
  EXPECT_EQ(trailing.Slot(kListA).items, Items{"line"});
}

Items InCp932(std::initializer_list<std::u16string_view> texts) {
  Items items;
  for (const std::u16string_view text : texts) {
    items.push_back(text::Utf16ToCp932(Services(), text));
  }
  return items;
}

TEST(Asort, SortsTheWholeListInTheUserLocalesOrder) {
  const Items sorted = InCp932({u"!",  u"10", u"9",     u"a",      u"ａ",     u"A",  u"ab",
                                u"aB", u"Ab", u"apple", u"Banana", u"cherry", u"ア", u"あ",
                                u"か", u"が", u"がか",  u"かき",   u"亜",     u"一", u"東"});
  Items shuffled = sorted;
  std::reverse(shuffled.begin(), shuffled.end());
  std::rotate(shuffled.begin(), shuffled.begin() + 7, shuffled.end());
  ListStore store = MakeStore(shuffled);
  // The selection limits nothing; the list is shown anew from its top.
  EXPECT_EQ(asort(store, kListA, View({2, 3}, 3, 5), Services()),
            (EditResult{true, View({}, 0, 0)}));
  EXPECT_EQ(store.Slot(kListA).items, sorted);
  EXPECT_EQ(asort(store, kListA, View({2}, 2), Services()), (EditResult{false, View({}, 0, 0)}));
}

TEST(Asort, KeepsEqualItemsAndBrokenBytes) {
  // Equal texts, and a lone lead byte that decodes to a replacement character: nothing is lost.
  ListStore store = MakeStore({"b", "a\x82", "b", "a"});
  asort(store, kListA, View({}, 0), Services());
  Items items = store.Slot(kListA).items.ToVector();
  EXPECT_EQ(items[2], "b");
  EXPECT_EQ(items[3], "b");
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (Items{"a", "a\x82", "b", "b"}));
  EXPECT_EQ(asort(store, kListA, View({}, 0), Services()).view, View({}, 0));
  ListStore empty = MakeStore({});
  EXPECT_EQ(asort(empty, kListA, View({}, std::nullopt), Services()),
            (EditResult{false, View({}, std::nullopt)}));
}

TEST(Aplace, ReplacesEveryOccurrenceOnCharacterBoundaries) {
  struct Case {
    const char* what;
    std::string item;
    std::u16string_view search;
    std::u16string_view replacement;
    std::string expected;
  };
  const Case cases[] = {
      {"an empty replacement deletes", "banana", u"a", u"", "bnn"},
      {"occurrences do not overlap", "aaaaa", u"aa", u"b", "bba"},
      {"a replacement is not looked into again", "aXa", u"a", u"aa", "aaXaa"},
      {"case counts", "Aa", u"a", u"x", "Ax"},
      // 表 and ソ both end in the byte of the backslash (0x95 0x5C, 0x83 0x5C).
      {"never inside a two-byte character", "\x95\x5C\\\x83\x5C", u"\\", u"/", "\x95\x5C/\x83\x5C"},
      {"two-byte search and replacement", "\x82\xA0\x82\xA2", u"い", u"う", "\x82\xA0\x82\xA4"},
      // A character the code page lacks is not looked for as the '?' it would become.
      {"a search the code page cannot hold finds nothing", "why?", u"\U0001F600", u"!", "why?"},
      {"a replacement it cannot hold becomes '?'", "ab", u"b", u"\u00E9", "a?"},
  };
  for (const Case& c : cases) {
    ListStore store = MakeStore({c.item, "untouched"});
    const EditResult result =
        aplace(store, kListA, View({1}, 1, 1), c.search, c.replacement, Services());
    EXPECT_EQ(store.Slot(kListA).items, (Items{c.expected, "untouched"})) << c.what;
    EXPECT_EQ(result, (EditResult{c.expected != c.item, View({}, 0, 0)})) << c.what;
  }
}

TEST(Aplace, ChangesEveryItemOfTheListAndNoOther) {
  ListStore store = MakeStore({"abc", "cab", "xyz", "a\r\na"}, {"abc"});
  aplace(store, kListA, View({}, 0), u"a", u"", Services());
  EXPECT_EQ(store.Slot(kListA).items, (Items{"bc", "cb", "xyz", "\r\n"}));
  EXPECT_EQ(store.Slot(kListB).items, Items{"abc"});
  const std::uint64_t revision = store.Revision();
  EXPECT_EQ(aplace(store, kListA, View({1}, 1), u"", u"x", Services()),
            (EditResult{false, View({1}, 1)}));
  EXPECT_EQ(store.Revision(), revision);
}

TEST(BulkCommands, LeaveTheUnicodeSlotAlone) {
  ListStore store = MakeStore({});
  store.SetItems(kUnicodeSlot, {"b\r\nc", "a"});
  EXPECT_FALSE(aexpand(store, kUnicodeSlot, View({0}, 0)).changed);
  EXPECT_FALSE(asort(store, kUnicodeSlot, View({}, 0), Services()).changed);
  EXPECT_FALSE(aplace(store, kUnicodeSlot, View({}, 0), u"a", u"z", Services()).changed);
  EXPECT_EQ(store.Slot(kUnicodeSlot).items, (Items{"b\r\nc", "a"}));
}

}  // namespace
}  // namespace pellix::lists
