#include "core/search/list_search.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "core/search/packed_scan.h"

namespace pellix::search {
namespace {

template <typename Keys, typename Matches>
std::vector<std::size_t> Matching(const Keys& keys, Matches&& matches) {
  std::vector<std::size_t> rows;
  for (std::size_t index = 0; index < keys.size(); ++index) {
    if (matches(keys[index])) {
      rows.push_back(index);
    }
  }
  return rows;
}

}  // namespace

std::vector<std::size_t> FindMatches(lists::ListStore& store, lists::ListId list,
                                     const SearchQuery& query) {
  if (list.unicode) {
    return Matching(store.UnicodeSearchKeys(),
                    [&query](const std::u16string& key) { return query.MatchesWide(key); });
  }
  return ScanPackedKeys(store.SearchKeys(list.slot), query);
}

std::vector<std::size_t> FindMatchesAmong(lists::ListStore& store, lists::ListId list,
                                          const SearchQuery& query,
                                          const std::vector<std::size_t>& among) {
  std::vector<std::size_t> rows;
  if (list.unicode) {
    const std::vector<std::u16string>& keys = store.UnicodeSearchKeys();
    std::copy_if(among.begin(), among.end(), std::back_inserter(rows),
                 [&](std::size_t item) { return query.MatchesWide(keys.at(item)); });
    return rows;
  }
  const lists::ItemList& keys = store.SearchKeys(list.slot);
  auto key = keys.begin();
  std::size_t at = 0;
  for (const std::size_t item : among) {
    key += static_cast<std::ptrdiff_t>(item - at);  // ascending: forward steps only
    at = item;
    if (query.MatchesAnsi(*key)) {
      rows.push_back(item);
    }
  }
  return rows;
}

lists::EditResult ClearShown(lists::ListStore& store, const ListSearch& search) {
  if (!search.Active() || search.Rows().empty()) {
    return lists::EditResult{false, lists::EmptyView()};
  }
  store.RemoveItems(*search.List(), search.Rows());
  return lists::EditResult{true, lists::EmptyView()};
}

void ListSearch::Set(lists::ListStore& store, lists::ListId list, SearchQuery query) {
  const bool narrowing = Active() && !waiting_ && list_ == list && revision_ == store.Revision() &&
                         query.Narrows(query_);
  query_ = std::move(query);
  list_ = list;
  if (query_.Empty()) {
    rows_.clear();
    waiting_ = false;
    return;
  }
  if (narrowing) {
    rows_ = FindMatchesAmong(store, list, query_, rows_);
    return;
  }
  Find(store);
}

void ListSearch::End() {
  query_ = SearchQuery();
  list_.reset();
  rows_.clear();
  waiting_ = false;
}

void ListSearch::Find(lists::ListStore& store) {
  revision_ = store.Revision();
  waiting_ = !store.SearchKeysReady(*list_);
  rows_ = waiting_ ? std::vector<std::size_t>() : FindMatches(store, *list_, query_);
}

bool ListSearch::Follow(lists::ListStore& store) {
  if (!Active()) {
    return false;
  }
  const bool listGone = !list_->unicode && list_->slot >= store.Count();
  if (listGone) {
    End();
    return true;
  }
  const bool keysArrived = waiting_ && store.SearchKeysReady(*list_);
  if (store.Revision() == revision_ && !keysArrived) {
    return false;
  }
  std::vector<std::size_t> before = std::move(rows_);
  Find(store);
  return rows_ != before;
}

std::size_t ListSearch::RowCount(const lists::ListStore& store) const {
  if (Active()) {
    return rows_.size();
  }
  return list_ ? store.ItemCount(*list_) : 0;
}

std::optional<std::size_t> ListSearch::ItemOf(const lists::ListStore& store,
                                              std::size_t row) const {
  if (Active()) {
    return row < rows_.size() ? std::optional<std::size_t>(rows_[row]) : std::nullopt;
  }
  return list_ && row < store.ItemCount(*list_) ? std::optional<std::size_t>(row) : std::nullopt;
}

std::optional<std::size_t> ListSearch::RowOf(std::size_t item) const {
  if (!Active()) {
    return item;
  }
  const auto found = std::lower_bound(rows_.begin(), rows_.end(), item);
  if (found == rows_.end() || *found != item) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(found - rows_.begin());
}

std::size_t ListSearch::RowAtOrBelow(std::size_t item) const {
  return static_cast<std::size_t>(std::lower_bound(rows_.begin(), rows_.end(), item) -
                                  rows_.begin());
}

lists::ViewState ListSearch::ToItems(const lists::ListStore& store,
                                     const lists::ViewState& rows) const {
  if (!Active()) {
    return rows;
  }
  lists::ViewState items;
  for (const std::size_t row : rows.selected) {
    if (const auto item = ItemOf(store, row)) {
      items.selected.push_back(*item);
    }
  }
  std::sort(items.selected.begin(), items.selected.end());
  items.caret = rows.caret ? ItemOf(store, *rows.caret) : std::nullopt;
  items.top = ItemOf(store, rows.top).value_or(0);
  return items;
}

lists::ViewState ListSearch::ToRows(const lists::ListStore& store,
                                    const lists::ViewState& items) const {
  if (!Active()) {
    return items;
  }
  lists::ViewState rows;
  for (const std::size_t item : items.selected) {
    if (const auto row = RowOf(item)) {
      rows.selected.push_back(*row);
    }
  }
  if (items.caret && !rows_.empty()) {
    const std::size_t row = std::min(RowAtOrBelow(*items.caret), rows_.size() - 1);
    rows.caret = row;
    const bool caretSelected =
        std::binary_search(items.selected.begin(), items.selected.end(), *items.caret);
    if (caretSelected && !RowOf(*items.caret)) {
      rows.selected.insert(std::lower_bound(rows.selected.begin(), rows.selected.end(), row), row);
      rows.selected.erase(std::unique(rows.selected.begin(), rows.selected.end()),
                          rows.selected.end());
    }
  }
  rows.top = rows_.empty() ? 0 : std::min(RowAtOrBelow(items.top), rows_.size() - 1);
  return lists::Normalized(std::move(rows), RowCount(store));
}

lists::ViewState ListSearch::FollowInsertion(lists::ListStore& store, const lists::ViewState& rows,
                                             std::size_t inserted) {
  lists::ViewState items = ToItems(store, rows);
  for (std::size_t& item : items.selected) {
    item += inserted;
  }
  if (items.caret) {
    *items.caret += inserted;
  }
  Follow(store);
  lists::ViewState shown = ToRows(store, items);
  shown.top = lists::Normalized(lists::ViewState{{}, std::nullopt, rows.top}, RowCount(store)).top;
  return shown;
}

}  // namespace pellix::search
