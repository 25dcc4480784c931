#pragma once
// A search of the shown list: the rows the view shows are the items that match the words typed,
// in the list's order. Every command reads the view through this mapping (rows to items) and
// hands its result back the same way, so it acts on exactly the items the user sees.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/lists/list_id.h"
#include "core/lists/list_store.h"
#include "core/lists/view_state.h"
#include "core/search/search_query.h"

namespace pellix::search {

class ListSearch {
 public:
  // Searches `list` for the words of `query`; an empty query shows every item (no search). A
  // query that only adds to the words of the last one looks among its matches alone. A list
  // too long to fold at once shows no rows and waits (Waiting) until its keys are handed in.
  void Set(lists::ListStore& store, lists::ListId list, SearchQuery query);
  // Back to the whole list.
  void End();

  // Words are typed: the view shows only the matching items.
  bool Active() const { return !query_.Empty() && list_.has_value(); }
  std::optional<lists::ListId> List() const { return list_; }
  const SearchQuery& Query() const { return query_; }
  // The list's search keys are being folded elsewhere; the rows come when they are kept.
  bool Waiting() const { return Active() && waiting_; }

  // The store's items changed (a capture, a command), or the keys waited for were kept: the rows
  // are found again when they are not up to date. Returns whether they changed.
  bool Follow(lists::ListStore& store);

  // The number of rows the view shows: the matches, or every item of the list without a search.
  std::size_t RowCount(const lists::ListStore& store) const;
  // The item shown in `row` (the row itself without a search); nullopt past the end.
  std::optional<std::size_t> ItemOf(const lists::ListStore& store, std::size_t row) const;
  // The row that shows `item`; without a search the item itself.
  std::optional<std::size_t> RowOf(std::size_t item) const;
  const std::vector<std::size_t>& Rows() const { return rows_; }

  // The view as the commands take it: the selected rows' items, the current row's, the top
  // row's.
  lists::ViewState ToItems(const lists::ListStore& store, const lists::ViewState& rows) const;
  // A command's view back in rows. Items no longer shown drop out of the selection; a current
  // item that is not shown hands the focus mark to the next row that is (the last one past the
  // end), selected when it was.
  lists::ViewState ToRows(const lists::ListStore& store, const lists::ViewState& items) const;

  // `inserted` items went in at the top of the searched list, under a view that showed `rows`
  // (read before the search followed): the search follows, and the view to show keeps the same
  // items selected and current, moved down with them, and the same top row, so that a new match
  // shows above the rows the user was looking at.
  lists::ViewState FollowInsertion(lists::ListStore& store, const lists::ViewState& rows,
                                   std::size_t inserted);

 private:
  void Find(lists::ListStore& store);
  // The first row whose item is `item` or below it.
  std::size_t RowAtOrBelow(std::size_t item) const;

  SearchQuery query_;
  std::optional<lists::ListId> list_;
  std::vector<std::size_t> rows_;  // ascending item indices
  std::uint64_t revision_ = 0;     // the store's revision the rows were found at
  bool waiting_ = false;
};

// クリアー during a search: removes the items the search shows, and only those.
lists::EditResult ClearShown(lists::ListStore& store, const ListSearch& search);

// The items of `list` that `query` matches, ascending. Folds the list's items first when its
// search keys are not kept yet.
std::vector<std::size_t> FindMatches(lists::ListStore& store, lists::ListId list,
                                     const SearchQuery& query);
// Those of `among` (ascending items of `list`) that `query` matches.
std::vector<std::size_t> FindMatchesAmong(lists::ListStore& store, lists::ListId list,
                                          const SearchQuery& query,
                                          const std::vector<std::size_t>& among);

}  // namespace pellix::search
