// The list pane while a search shows only some items: the field, and the mapping between the
// views' rows and the items of their list that every reader of a view goes through.

#include "core/search/search_query.h"
#include "win32/lists/list_pane.h"
#include "win32/platform/wide_string.h"

namespace pellix::win32 {

void ListPane::OpenSearch() {
  if (!field_.IsOpen()) {
    field_.Open();
    Layout(listBounds_);
  }
  FocusShownList();
  SendMessageW(field_.Handle(), EM_SETSEL, 0, -1);
}

void ListPane::EndSearch() {
  const bool unicode = UnicodeShown();
  VirtualListView& view = Shown();
  const lists::ViewState items = ReadItems(unicode);
  search_.End();
  field_.Close();
  Layout(listBounds_);
  view.SetCount(RowCount(unicode));
  hoverIndex_ = -1;
  view.ShowState(items.selected, items.caret, items.top);
  FocusShownList();
}

void ListPane::OnSearchChanged() {
  const bool unicode = UnicodeShown();
  VirtualListView& view = Shown();
  const std::optional<std::size_t> focused = ItemAt(unicode, view.FocusedIndex());
  SearchShownList();
  view.SetCount(RowCount(unicode));
  hoverIndex_ = -1;
  if (view.Count() == 0) {
    return;
  }
  if (search_.Active()) {
    view.SelectOnly(0);  // the newest match, ready for Enter
  } else if (focused) {
    // Every word erased: back where the user was in the whole list.
    view.SelectOnly(static_cast<int>(*focused));
  }
}

void ListPane::SearchShownList() {
  const std::optional<lists::ListId> list = ShownListId();
  if (!field_.IsOpen() || !list) {
    search_.End();
    return;
  }
  search_.Set(model_.lists, *list, search::SearchQuery(FromWide(field_.Text()), services_));
}

std::optional<lists::ListId> ListPane::ShownListId() const {
  if (UnicodeShown()) {
    return lists::ListId::Unicode();
  }
  const auto slot = model_.lists.AnsiShown();
  return slot ? std::optional<lists::ListId>(lists::ListId::Ansi(*slot)) : std::nullopt;
}

bool ListPane::SearchShows(bool unicode) const {
  return search_.Active() && search_.List()->unicode == unicode;
}

std::size_t ListPane::RowCount(bool unicode) const {
  if (SearchShows(unicode)) {
    return search_.RowCount(model_.lists);
  }
  if (unicode) {
    return model_.lists.UnicodeItems().size();
  }
  const auto slot = model_.lists.AnsiShown();
  return slot ? model_.lists.Slot(*slot).items.size() : 0;
}

std::optional<std::size_t> ListPane::ItemAt(bool unicode, int row) const {
  if (row < 0) {
    return std::nullopt;
  }
  if (SearchShows(unicode)) {
    return search_.ItemOf(model_.lists, static_cast<std::size_t>(row));
  }
  return static_cast<std::size_t>(row);
}

std::vector<std::size_t> ListPane::SelectedItems(bool unicode) const {
  std::vector<std::size_t> items;
  for (const int row : (unicode ? tntListBox1_ : listBox_).SelectedIndices()) {
    if (const auto item = ItemAt(unicode, row)) {
      items.push_back(*item);
    }
  }
  return items;
}

std::optional<std::size_t> ListPane::FocusedItem(bool unicode) const {
  return ItemAt(unicode, (unicode ? tntListBox1_ : listBox_).FocusedIndex());
}

lists::ViewState ListPane::ReadItems(bool unicode) const {
  const lists::ViewState rows = ReadView(unicode ? tntListBox1_ : listBox_);
  return SearchShows(unicode) ? search_.ToItems(model_.lists, rows) : rows;
}

void ListPane::FollowSearchInsertion(bool unicode, std::size_t inserted) {
  VirtualListView& view = unicode ? tntListBox1_ : listBox_;
  // Read through the rows found before the capture, then moved down with the items.
  lists::ViewState items = ReadItems(unicode);
  for (std::size_t& item : items.selected) {
    item += inserted;
  }
  if (items.caret) {
    *items.caret += inserted;
  }
  const std::size_t topRow = static_cast<std::size_t>(std::max(view.TopIndex(), 0));
  search_.Follow(model_.lists);
  view.SetCount(RowCount(unicode));
  lists::ViewState rows = search_.ToRows(model_.lists, items);
  // As in the whole list, a new match at the top shows above the rows the user was looking at.
  rows.top = lists::Normalized(lists::ViewState{{}, std::nullopt, topRow}, RowCount(unicode)).top;
  view.ShowState(rows.selected, rows.caret, rows.top);
}

}  // namespace pellix::win32
