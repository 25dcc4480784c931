// A search of a list: which items are shown, how the rows map to items while the list changes
// under the search (a capture, a deletion), and that the folded copies follow every change.

#include <gtest/gtest.h>

#include <random>

#include "core/lists/list_commands.h"
#include "core/lists/unicode_commands.h"
#include "core/platform_services.h"
#include "core/search/list_search.h"
#include "core/text/codec.h"
#include "core/text/fold.h"
#include "core/text/utf.h"
#include "list_fixtures.h"

namespace pellix::search {
namespace {

using lists::ListId;
using lists::ListStore;
using lists::ViewState;
using lists::testing_support::kListA;
using lists::testing_support::kListB;
using lists::testing_support::MakeStore;
using lists::testing_support::View;

SearchQuery Query(std::u16string_view typed) {
  return SearchQuery(typed, PlatformTextServices());
}

// Items as an ordinary list holds them: in code page 932.
lists::Items Cp932Items(const std::vector<std::u16string>& texts) {
  lists::Items items;
  for (const std::u16string& text : texts) {
    items.push_back(text::Utf16ToCp932(PlatformTextServices(), text));
  }
  return items;
}

// What the view would show: the texts of the rows.
std::vector<std::string> Shown(const ListStore& store, const ListSearch& search) {
  std::vector<std::string> texts;
  for (std::size_t row = 0; row < search.RowCount(store); ++row) {
    texts.emplace_back(store.Slot(kListA).items.at(*search.ItemOf(store, row)));
  }
  return texts;
}

TEST(ListSearch, ShowsTheMatchingItemsInTheListsOrder) {
  ListStore store = MakeStore({"apple pie", "banana", "Apple juice", "cherry", "pineapple"});
  ListSearch search;
  search.Set(store, ListId::Ansi(kListA), Query(u"APPLE"));
  EXPECT_TRUE(search.Active());
  EXPECT_EQ(Shown(store, search),
            (std::vector<std::string>{"apple pie", "Apple juice", "pineapple"}));
  EXPECT_EQ(search.RowOf(2), 1u);
  EXPECT_EQ(search.RowOf(1), std::nullopt);
  EXPECT_EQ(search.ItemOf(store, 3), std::nullopt);

  search.Set(store, ListId::Ansi(kListA), Query(u"pie apple"));
  EXPECT_EQ(Shown(store, search), (std::vector<std::string>{"apple pie"}));

  // No words: the whole list, rows and items the same.
  search.Set(store, ListId::Ansi(kListA), Query(u" "));
  EXPECT_FALSE(search.Active());
  EXPECT_EQ(search.RowCount(store), 5u);
  EXPECT_EQ(search.ItemOf(store, 4), 4u);
}

TEST(ListSearch, DeletingAResultDeletesThatItemAndFocusesTheNextResult) {
  ListStore store = MakeStore({"x1", "keep a", "x2", "keep b", "x3", "keep c"});
  ListSearch search;
  search.Set(store, ListId::Ansi(kListA), Query(u"x"));
  // Row 1 ("x2", item 2) selected and current.
  const ViewState items = search.ToItems(store, View({1}, 1, 0));
  EXPECT_EQ(items, View({2}, 2, 0));
  const lists::EditResult result = lists::dellistitem(store, kListA, items, false);
  EXPECT_EQ(store.Slot(kListA).items, (lists::Items{"x1", "keep a", "keep b", "x3", "keep c"}));
  EXPECT_TRUE(search.Follow(store));
  EXPECT_EQ(Shown(store, search), (std::vector<std::string>{"x1", "x3"}));
  // The item now at the deleted one's place in the list ("keep b") is not shown: the next
  // result takes the focus and the selection, as the next row would in the whole list.
  EXPECT_EQ(search.ToRows(store, result.view), View({1}, 1, 0));
}

TEST(ListSearch, ACaptureDuringASearchShowsWhenItMatches) {
  ListStore store = MakeStore({"old match", "other"});
  ListSearch search;
  search.Set(store, ListId::Ansi(kListA), Query(u"match"));
  const ViewState before = search.ToItems(store, View({0}, 0, 0));

  store.InsertAtTop(kListA, {"no"});
  EXPECT_TRUE(search.Follow(store));  // the old match moved down: its row shows another item
  EXPECT_EQ(Shown(store, search), (std::vector<std::string>{"old match"}));
  EXPECT_EQ(search.RowOf(1), 0u);
  EXPECT_FALSE(search.Follow(store));  // up to date

  store.InsertAtTop(kListA, {"new MATCH", "also no"});
  EXPECT_TRUE(search.Follow(store));
  EXPECT_EQ(Shown(store, search), (std::vector<std::string>{"new MATCH", "old match"}));
  // The item that was focused keeps the focus, wherever its row went: it was item 0 before
  // three items went in above it.
  const ViewState after = View({before.selected[0] + 3}, *before.caret + 3, 0);
  EXPECT_EQ(search.ToRows(store, after), View({1}, 1, 0));
}

// What the window does when a capture arrives while the user looks at search results: the
// rows they picked follow their items, and the first row shown stays the first row shown.
TEST(ListSearch, FollowingAnInsertionKeepsThePickedItemsAndTheTopRow) {
  ListStore store = MakeStore({"m0", "n1", "m2", "n3", "m4"});
  ListSearch search;
  search.Set(store, ListId::Ansi(kListA), Query(u"m"));
  const ViewState rows = View({1, 2}, 2, 1);  // m2 and m4 picked, m4 current, m2 at the top

  store.InsertAtTop(kListA, {"m new", "x"});
  EXPECT_EQ(search.FollowInsertion(store, rows, 2), View({2, 3}, 3, 1));
  EXPECT_EQ(Shown(store, search), (std::vector<std::string>{"m new", "m0", "m2", "m4"}));

  // A capture that does not match moves nothing on the screen.
  store.InsertAtTop(kListA, {"zzz"});
  EXPECT_EQ(search.FollowInsertion(store, View({2, 3}, 3, 1), 1), View({2, 3}, 3, 1));
  // The top row is kept inside the rows there are.
  EXPECT_EQ(search.FollowInsertion(store, View({}, std::nullopt, 9), 0).top, 3u);
}

TEST(ListSearch, RowsAndItemsMapBothWays) {
  ListStore store = MakeStore({"m0", "n1", "m2", "n3", "m4", "n5", "m6"});
  ListSearch search;
  // Without words rows are items.
  search.Set(store, ListId::Ansi(kListA), Query(u""));
  EXPECT_EQ(search.ToItems(store, View({1, 5}, 5, 3)), View({1, 5}, 5, 3));
  EXPECT_EQ(search.ToRows(store, View({1, 5}, 5, 3)), View({1, 5}, 5, 3));

  search.Set(store, ListId::Ansi(kListA), Query(u"m"));  // items 0, 2, 4, 6
  EXPECT_EQ(search.ToItems(store, View({3, 1}, 1, 2)), View({2, 6}, 2, 4));
  // Back: items not shown leave the selection; a current item not shown hands the focus to the
  // next row shown, selected only when it was; the top goes to the next row shown.
  EXPECT_EQ(search.ToRows(store, View({2, 3}, 3, 1)), View({1, 2}, 2, 1));
  EXPECT_EQ(search.ToRows(store, View({2}, 3, 1)), View({1}, 2, 1));
  EXPECT_EQ(search.ToRows(store, View({}, 5, 5)), View({}, 3, 3));
  // Past the last match: the last row.
  search.Set(store, ListId::Ansi(kListA), Query(u"m0"));
  EXPECT_EQ(search.ToRows(store, View({6}, 6, 6)), View({0}, 0, 0));
}

TEST(ListSearch, ClearingWhileSearchingRemovesOnlyTheItemsShown) {
  ListStore store = MakeStore({"tel 1", "mail", "tel 2", "memo"});
  ListSearch search;
  EXPECT_FALSE(ClearShown(store, search).changed);  // no search: the caller clears it all
  search.Set(store, ListId::Ansi(kListA), Query(u"TEL"));
  EXPECT_TRUE(ClearShown(store, search).changed);
  EXPECT_EQ(store.Slot(kListA).items, (lists::Items{"mail", "memo"}));
  search.Follow(store);
  EXPECT_EQ(search.RowCount(store), 0u);
  EXPECT_FALSE(ClearShown(store, search).changed);
}

TEST(ListSearch, TheUnicodeListIsSearchedInUtf16) {
  ListStore store = MakeStore({}, {}, {u"ｶﾞｽ代", u"電気代", u"ガス"});
  ListSearch search;
  search.Set(store, ListId::Unicode(), Query(u"ガス"));
  EXPECT_EQ(search.Rows(), (std::vector<std::size_t>{0, 2}));
  // 削除 of the Unicode list on the second result removes item 2, not item 1.
  const lists::EditResult result = lists::wdelact(store, search.ToItems(store, View({1}, 1, 0)));
  EXPECT_TRUE(result.changed);
  EXPECT_EQ(store.UnicodeItems(), (lists::WideItems{u"ｶﾞｽ代", u"電気代"}));
  search.Follow(store);
  EXPECT_EQ(search.Rows(), (std::vector<std::size_t>{0}));
  store.InsertUnicodeAtTop(u"ｶﾞｽ");
  search.Follow(store);
  EXPECT_EQ(search.Rows(), (std::vector<std::size_t>{0, 1}));
}

// A keystroke that adds to the words looks only among the rows shown; it must find exactly what
// a search from scratch finds, and must not narrow where the new words do not imply the old.
TEST(ListSearch, AddingToTheWordsFindsWhatAFreshSearchFinds) {
  const lists::Items items = Cp932Items({u"会議 url", u"会議室", u"URL only", u"ｶｲｷﾞ", u"url 会",
                                         u"議会", u"apple", u"app", u"pineapple url"});
  const std::vector<std::pair<std::u16string, std::u16string>> steps{
      {u"会", u"会議"}, {u"url", u"url 会"}, {u"app", u"apple"}, {u"会議", u"会"},
      {u"app", u"url"}, {u"ｕ", u"url"},     {u"p", u"pp ｐｉ"}, {u"議", u"会議 議"},
      {u"a", u"aé"},  // no form in code page 932: nothing in an ordinary list
  };
  for (const auto& [first, second] : steps) {
    ListStore store = MakeStore(items);
    ListSearch typed;
    typed.Set(store, ListId::Ansi(kListA), Query(first));
    typed.Set(store, ListId::Ansi(kListA), Query(second));
    ListSearch fresh;
    fresh.Set(store, ListId::Ansi(kListA), Query(second));
    EXPECT_EQ(typed.Rows(), fresh.Rows()) << "after typing on from the first query";
    if (second != u"a\u00e9") {
      EXPECT_FALSE(fresh.Rows().empty());
    }
  }
  EXPECT_TRUE(Query(u"会議 x").Narrows(Query(u"会")));
  EXPECT_FALSE(Query(u"会").Narrows(Query(u"会議")));

  // A capture since the last keystroke: the items are found afresh, the new one among them.
  ListStore store = MakeStore(items);
  ListSearch search;
  search.Set(store, ListId::Ansi(kListA), Query(u"会"));
  store.InsertAtTop(kListA, Cp932Items({u"新しい会議"}));
  search.Set(store, ListId::Ansi(kListA), Query(u"会議"));
  EXPECT_EQ(search.Rows(), (std::vector<std::size_t>{0, 1, 2}));
}

// The keys of a long list are searched chunk by chunk along their packed bytes; what that finds
// must be what testing each item finds: no hit that runs from one item into the next, none that
// starts on the second byte of a character (while a true one later in that item still counts),
// none lost at a chunk's edge.
TEST(ListSearch, AScanAlongTheKeysFindsWhatATestOfEachItemFinds) {
  const std::vector<std::u16string> fragments{u"デー", u"タ",  u"データ", u"ー[", u"[",
                                              u"会議", u"url", u"ｕｒｌ", u"e",   u"ア",
                                              u"A",    u" ",   u"議"};
  std::mt19937 random(7);
  std::uniform_int_distribution<std::size_t> pick(0, fragments.size() - 1);
  std::uniform_int_distribution<int> length(0, 4);
  std::vector<std::u16string> texts;
  for (std::size_t i = 0; i < 3 * lists::ItemList::kChunkItems; ++i) {
    std::u16string text;
    for (int n = length(random); n > 0; --n) {
      text += fragments[pick(random)];
    }
    texts.push_back(text);
  }
  // A hit across two items, at a chunk's edge too.
  texts[100] = u"xyデー";
  texts[101] = u"タxy";
  texts[lists::ItemList::kChunkItems - 1] = u"デー";
  texts[lists::ItemList::kChunkItems] = u"タ";
  const lists::Items items = Cp932Items(texts);
  ListStore store = MakeStore(items);
  for (const std::u16string typed :
       {u"データ", u"[", u"ー[", u"会議 url", u"e", u"a", u"タxy", u"議 デ", u"zq"}) {
    const SearchQuery query = Query(typed);
    std::vector<std::size_t> expected;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (query.MatchesAnsi(text::FoldCp932(items[i]))) {
        expected.push_back(i);
      }
    }
    EXPECT_EQ(FindMatches(store, ListId::Ansi(kListA), query), expected)
        << text::Utf16ToUtf8(typed);
  }
  const std::vector<std::size_t> found = FindMatches(store, ListId::Ansi(kListA), Query(u"データ"));
  EXPECT_GT(found.size(), 100u);
  for (const std::size_t split :
       {std::size_t{100}, std::size_t{101}, lists::ItemList::kChunkItems}) {
    EXPECT_FALSE(std::binary_search(found.begin(), found.end(), split)) << split;
  }
}

// A list too long to fold on the window's thread: the search waits for keys folded from a
// snapshot, and keys of items that changed in the meantime are refused, never shown.
TEST(ListSearch, ALongListWaitsForItsKeysFoldedElsewhere) {
  std::vector<std::string> items(lists::kFoldAtOnceItems + 1, "filler");
  items[5] = "needle";
  ListStore store = MakeStore(items);
  EXPECT_FALSE(store.SearchKeysReady(ListId::Ansi(kListA)));
  ListSearch search;
  search.Set(store, ListId::Ansi(kListA), Query(u"NEEDLE"));
  EXPECT_TRUE(search.Waiting());
  EXPECT_EQ(search.RowCount(store), 0u);

  const lists::ItemList::Snapshot taken = store.Slot(kListA).items.Take();
  lists::ItemList stale = lists::FoldedKeys(taken);
  store.InsertAtTop(kListA, {"needle too"});
  EXPECT_FALSE(store.KeepSearchKeys(kListA, taken, std::move(stale)));
  search.Follow(store);
  EXPECT_TRUE(search.Waiting());

  const lists::ItemList::Snapshot again = store.Slot(kListA).items.Take();
  EXPECT_TRUE(store.KeepSearchKeys(kListA, again, lists::FoldedKeys(again)));
  EXPECT_TRUE(search.Follow(store));
  EXPECT_FALSE(search.Waiting());
  EXPECT_EQ(search.Rows(), (std::vector<std::size_t>{0, 6}));
  // From now on the keys follow the list as for a short one.
  store.InsertAtTop(kListA, {"a needle"});
  search.Follow(store);
  EXPECT_EQ(search.Rows(), (std::vector<std::size_t>{0, 1, 7}));
}

// The folded copies the store keeps must say the same as folding the items afresh, after every
// kind of change.
TEST(SearchKeys, FollowEveryChangeOfTheItems) {
  ListStore store = MakeStore({"a0", "b1", "c2", "d3", "e4"}, {"z"});
  const auto expectInStep = [&store](const char* after) {
    std::vector<std::string> fresh;
    for (const std::string_view item : store.Slot(kListA).items) {
      fresh.push_back(text::FoldCp932(item));
    }
    EXPECT_EQ(store.SearchKeys(kListA), fresh) << "after " << after;
  };
  expectInStep("the first search");
  store.InsertAtTop(kListA, {"new"});
  expectInStep("a capture");
  store.InsertItems(kListA, 2, {"p", "q"});
  expectInStep("an insertion inside");
  store.ReplaceItem(kListA, 0, "changed");
  expectInStep("an edit");
  store.RemoveItems(ListId::Ansi(kListA), {1, 3});
  expectInStep("a deletion");
  store.SwapItems(ListId::Ansi(kListA), 0, 2);
  expectInStep("a swap");
  store.MoveItem(ListId::Ansi(kListA), 0, 3);
  expectInStep("a move");
  store.MoveToTop(kListA, 1, kListB);
  expectInStep("a move to another list");
  store.MoveToTop(kListB, 0, kListA);
  expectInStep("a move from another list");
  store.SplitItems(kListA, {{0, {"l1", "l2"}}});
  expectInStep("a split");
  store.KeepFirst(ListId::Ansi(kListA), 2);
  expectInStep("the back half cleared");
  store.SwapSlots(kListA, kListB);
  store.SwapSlots(kListA, kListB);
  expectInStep("lists moved");
}

TEST(SearchKeys, TheUnicodeListsFollowToo) {
  ListStore store = MakeStore({}, {}, {u"ａ", u"ｶﾞ"});
  EXPECT_EQ(store.UnicodeSearchKeys(), (std::vector<std::u16string>{u"A", u"ガ"}));
  store.InsertUnicodeAtTop(u"x");
  store.ReplaceUnicodeItem(2, u"ｂ");
  store.RemoveItems(ListId::Unicode(), {1});
  EXPECT_EQ(store.UnicodeSearchKeys(), (std::vector<std::u16string>{u"X", u"B"}));
  store.SetUnicodeItems({u"y"});
  EXPECT_EQ(store.UnicodeSearchKeys(), (std::vector<std::u16string>{u"Y"}));
}

}  // namespace
}  // namespace pellix::search
