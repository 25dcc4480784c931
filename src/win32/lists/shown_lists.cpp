#include "win32/lists/shown_lists.h"

#include <commctrl.h>

#include <algorithm>

#include "core/app/list_tooltip.h"
#include "core/search/search_query.h"
#include "core/settings/colors.h"
#include "core/text/codec.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/control_ids.h"
#include "win32/ui/fonts.h"

namespace pellix::win32 {
namespace {

// The longest of `items`, by size; with a fixed-pitch font that is also the widest.
template <typename ItemList>
std::size_t LongestOf(const ItemList& items, std::size_t count, std::size_t* index) {
  std::size_t longest = 0;
  for (std::size_t i = 0; i < count && i < items.size(); ++i) {
    if (items[i].size() > longest) {
      longest = items[i].size();
      *index = i;
    }
  }
  return longest;
}

}  // namespace

void ShownLists::Create(HWND parent, int dpi, const RECT& bounds, HFONT unicodeFont,
                        Actions actions) {
  parent_ = parent;
  dpi_ = dpi;
  actions_ = std::move(actions);
  keyFold_.Create(parent, kMsgSearchKeysFolded);
  listBox_.Create(parent, kIdListBox, bounds, true);
  tntListBox1_.Create(parent, kIdTntListBox1, bounds, false);
  SetWindowTextW(listBox_.Handle(), L"ListBox");
  SetWindowTextW(tntListBox1_.Handle(), L"TntListBox1");
  // The ordinary list's font comes with the settings (SetListFont), which are read later: made
  // here too, it would only be made again before the window shows.
  tntListBox1_.SetFont(unicodeFont);
}

void ShownLists::Move(const RECT& bounds) {
  listBox_.Move(bounds);
  tntListBox1_.Move(bounds);
}

bool ShownLists::UnicodeShown() const {
  return model_.lists.UnicodeListShown();
}

void ShownLists::FocusShownList() {
  if (IsWindowVisible(parent_)) {
    const HWND field = actions_.openField ? actions_.openField() : nullptr;
    SetFocus(field != nullptr ? field : Shown().Handle());
  }
}

void ShownLists::Switch(const lists::SwitchPlan& plan) {
  VirtualListView& shown = View(plan.unicode);
  VirtualListView& other = View(!plan.unicode);
  SearchShownList(query_);
  shown.SetCount(RowCount(plan.unicode));
  if (plan.unicode) {
    FitUnicodeColumn();
  } else {
    FitAnsiColumn();
  }
  // The two lists share one place; only the one in use is shown, so focus and screen readers
  // never land on the covered one.
  shown.Show(true);
  other.Show(false);
  if (plan.hasItems && shown.Count() > 0) {
    FocusShownList();
    shown.SelectOnly(0);
  }
}

std::optional<LRESULT> ShownLists::OnNotify(const NMHDR& header) {
  const bool fromAnsi = header.hwndFrom == listBox_.Handle();
  const bool fromUnicode = header.hwndFrom == tntListBox1_.Handle();
  if (!fromAnsi && !fromUnicode) {
    return std::nullopt;
  }
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      auto& request = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header));
      const auto index = ItemAt(fromUnicode, request.item.iItem);
      const lists::SharedWideItems& wide = model_.lists.UnicodeItems();
      if (!index) {
        VirtualListView::AnswerTextRequest(request, std::wstring());
      } else if (fromAnsi) {
        VirtualListView::AnswerTextRequest(request, AnsiItemText(*index));
      } else if (*index < wide.size()) {
        VirtualListView::AnswerTextRequest(request, ToWide(wide[*index]));
      }
      return 0;
    }
    case LVN_ODFINDITEMW:
      return -1;  // no type-ahead search in the lists
    case NM_DBLCLK:
      // A double click on the empty part of the ordinary list does nothing.
      if (fromUnicode || reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) {
        actions_.sendCopy();
      }
      return 0;
    case LVN_BEGINDRAG:
      if (fromAnsi && actions_.beginDrag) {
        actions_.beginDrag(reinterpret_cast<const NMLISTVIEW&>(header).iItem);
      }
      return 0;
    case LVN_KEYDOWN: {
      const WORD key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
      if (key == VK_RETURN || (key == VK_SPACE && GetKeyState(VK_CONTROL) >= 0)) {
        actions_.pasteFromKey();
      } else if (key == VK_ESCAPE) {
        actions_.escape();
      }
      return 0;
    }
    default:
      return 0;
  }
}

std::wstring ShownLists::AnsiItemText(std::size_t index) const {
  const auto slot = model_.lists.AnsiShown();
  if (!slot || index >= model_.lists.Slot(*slot).items.size()) {
    return {};
  }
  return ToWide(text::Cp932ToUtf16(services_, model_.lists.Slot(*slot).items[index]));
}

std::wstring ShownLists::RowText(HWND list, std::size_t row) const {
  const bool unicode = list == tntListBox1_.Handle();
  const std::size_t index = ItemAt(unicode, static_cast<int>(row)).value_or(SIZE_MAX);
  if (unicode) {
    const lists::SharedWideItems& items = model_.lists.UnicodeItems();
    return index < items.size() ? ToWide(items[index]) : std::wstring();  // whole, however long
  }
  const auto slot = model_.lists.AnsiShown();
  if (!slot || index >= model_.lists.Slot(*slot).items.size()) {
    return {};
  }
  return ToWide(
      text::Cp932ToUtf16(services_, app::AnsiTooltipText(model_.lists.Slot(*slot).items[index])));
}

lists::ViewState ShownLists::ReadRows(const VirtualListView& view) {
  lists::ViewState state;
  for (const int index : view.SelectedIndices()) {
    state.selected.push_back(static_cast<std::size_t>(index));
  }
  state.caret = lists::IndexFrom(view.FocusedIndex());
  state.top = static_cast<std::size_t>(std::max(view.TopIndex(), 0));
  return state;
}

void ShownLists::ShowEdit(bool unicode, const lists::EditResult& result) {
  if (result.changed) {
    ItemsChanged(unicode);
  }
  // The command's view is in items; the view shows rows.
  const lists::ViewState rows =
      SearchShows(unicode) ? search_.ToRows(model_.lists, result.view) : result.view;
  View(unicode).ShowState(rows.selected, rows.caret, rows.top);
}

void ShownLists::ShowTakenIn(bool unicode, const lists::ViewState& view) {
  ItemsChanged(unicode);
  const lists::ViewState rows = SearchShows(unicode) ? search_.ToRows(model_.lists, view) : view;
  View(unicode).ShowState(rows.selected, rows.caret, rows.top, false);
}

void ShownLists::ItemsChanged(bool unicode) {
  search_.Follow(model_.lists);
  FoldWhenWaiting();
  if (unicode) {
    tntListBox1_.SetCount(RowCount(true));
    FitUnicodeColumn();
  } else if (model_.lists.AnsiShown()) {
    listBox_.SetCount(RowCount(false));
    FitAnsiColumn();
  }
}

void ShownLists::ConvertFocusedItem(lists::ItemConversion conversion) {
  const auto slot = model_.lists.AnsiShown();
  const auto item = ItemAt(false, listBox_.FocusedIndex());
  const int focused = item ? static_cast<int>(*item) : -1;
  if (slot && lists::ConvertFocusedItem(model_.lists, *slot, focused, conversion, services_)) {
    if (SearchShows(false)) {
      // The converted text may no longer hold the words typed.
      const auto top = ItemAt(false, listBox_.TopIndex()).value_or(0);
      ShowEdit(false, lists::EditResult{true, lists::OnlySelected(*item, top, SIZE_MAX)});
      return;
    }
    listBox_.RedrawItem(focused);
    ListView_SetItemState(listBox_.Handle(), focused, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
    FitAnsiColumn();
  }
}

void ShownLists::ShowInsertions(const std::vector<std::size_t>& inserted) {
  const auto shown = model_.lists.AnsiShown();
  if (shown && *shown < inserted.size() && inserted[*shown] > 0) {
    const lists::ItemList& items = model_.lists.Slot(*shown).items;
    if (SearchShows(false)) {
      FollowSearchInsertion(false, inserted[*shown]);
    } else {
      listBox_.InsertedAtTop(items.size(), inserted[*shown]);
    }
    std::size_t index = 0;
    if (LongestOf(items, inserted[*shown], &index) > ansiWidest_) {
      ansiWidest_ = items[index].size();
      listBox_.SetWidestText(AnsiItemText(index));
    }
  }
}

void ShownLists::ShowUnicodeInsertion() {
  if (!UnicodeShown()) {
    return;
  }
  const lists::SharedWideItems& items = model_.lists.UnicodeItems();
  if (SearchShows(true)) {
    FollowSearchInsertion(true, 1);
  } else {
    tntListBox1_.InsertedAtTop(items.size(), 1);
  }
  if (!items.empty() && items.front().size() > unicodeWidest_) {
    unicodeWidest_ = items.front().size();
    tntListBox1_.SetWidestText(ToWide(items.front()));
  }
}

void ShownLists::WithCurrentSelected(const std::function<void()>& paste) {
  const int current = listBox_.FocusedIndex();
  const HWND list = listBox_.Handle();
  const int top = ListView_GetTopIndex(list);
  if (current >= 0) {
    listBox_.SetItemSelected(current, true);
  }
  paste();
  if (current >= 0) {
    const int nowTop = ListView_GetTopIndex(list);
    RECT item{};
    if (nowTop != top && ListView_GetItemRect(list, 0, &item, LVIR_BOUNDS)) {
      ListView_Scroll(list, 0, (top - nowTop) * (item.bottom - item.top));
    }
    ListView_SetItemState(list, current, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
  }
}

void ShownLists::FitAnsiColumn() {
  const auto shown = model_.lists.AnsiShown();
  if (!shown) {
    return;
  }
  const lists::ItemList& items = model_.lists.Slot(*shown).items;
  std::size_t index = 0;
  ansiWidest_ = LongestOf(items, items.size(), &index);
  listBox_.SetWidestText(ansiWidest_ > 0 ? AnsiItemText(index) : std::wstring());
}

void ShownLists::FitUnicodeColumn() {
  const lists::SharedWideItems& items = model_.lists.UnicodeItems();
  std::size_t index = 0;
  unicodeWidest_ = LongestOf(items, items.size(), &index);
  tntListBox1_.SetWidestText(unicodeWidest_ > 0 ? ToWide(items[index]) : std::wstring());
}

void ShownLists::SetDpi(int dpi, HFONT unicodeFont) {
  tntListBox1_.SetFont(unicodeFont);
  // The list's font, the default or one the user chose, keeps its size in points.
  if (UniqueFont font = RescaleFont(listFont_.Get(), dpi_, dpi)) {
    SetListFont(std::move(font));
  }
  dpi_ = dpi;
}

void ShownLists::SetListFont(int points) {
  SetListFont(CreateUiFont(kFixedGothic, -MulDiv(points, 96, 72), dpi_));
}

void ShownLists::SetListFont(UniqueFont font) {
  // The new font goes in before the old one is freed: a control must never draw with a
  // deleted font.
  listBox_.SetFont(font.Get());
  listFont_ = std::move(font);
}

void ShownLists::SetListColor(std::uint32_t color) {
  if (const std::optional<settings::ShownColor> shown = settings::ShownColorOf(color)) {
    const COLORREF value =
        shown->systemIndex ? GetSysColor(*shown->systemIndex) : static_cast<COLORREF>(shown->rgb);
    ListView_SetTextColor(listBox_.Handle(), value);
    InvalidateRect(listBox_.Handle(), nullptr, TRUE);
  }
}

// ---- the search ---------------------------------------------------------------------------------

void ShownLists::SearchFor(const std::u16string& query) {
  const bool unicode = UnicodeShown();
  VirtualListView& view = Shown();
  const std::optional<std::size_t> focused = ItemAt(unicode, view.FocusedIndex());
  query_ = query;
  SearchShownList(query_);
  view.SetCount(RowCount(unicode));
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

void ShownLists::EndSearch() {
  const bool unicode = UnicodeShown();
  VirtualListView& view = Shown();
  const lists::ViewState items = ReadItems(unicode);
  query_.clear();
  search_.End();
  view.SetCount(RowCount(unicode));
  view.ShowState(items.selected, items.caret, items.top);
}

void ShownLists::SearchShownList(const std::u16string& query) {
  const std::optional<lists::ListId> list = ShownListId();
  if (query.empty() || !list) {
    search_.End();
    return;
  }
  search_.Set(model_.lists, *list, search::SearchQuery(query, services_));
  FoldWhenWaiting();
}

void ShownLists::FoldWhenWaiting() {
  if (search_.Waiting()) {
    keyFold_.Start(model_.lists, search_.List()->slot);
  }
}

void ShownLists::PrepareSearch() {
  const std::optional<lists::ListId> list = ShownListId();
  if (list && !model_.lists.SearchKeysReady(*list)) {
    keyFold_.Start(model_.lists, list->slot);
  }
}

void ShownLists::OnKeysFolded() {
  if (keyFold_.TakeIn(model_.lists)) {
    if (search_.Waiting()) {
      SearchFor(query_);  // the rows show as after a keystroke
    }
    return;
  }
  // The items changed while they were folded: folded again as they are now.
  FoldWhenWaiting();
}

std::optional<lists::ListId> ShownLists::ShownListId() const {
  if (UnicodeShown()) {
    return lists::ListId::Unicode();
  }
  const auto slot = model_.lists.AnsiShown();
  return slot ? std::optional<lists::ListId>(lists::ListId::Ansi(*slot)) : std::nullopt;
}

bool ShownLists::SearchShows(bool unicode) const {
  return search_.Active() && search_.List()->unicode == unicode;
}

std::size_t ShownLists::RowCount(bool unicode) const {
  if (SearchShows(unicode)) {
    return search_.RowCount(model_.lists);
  }
  if (unicode) {
    return model_.lists.UnicodeItems().size();
  }
  const auto slot = model_.lists.AnsiShown();
  return slot ? model_.lists.Slot(*slot).items.size() : 0;
}

std::optional<std::size_t> ShownLists::ItemAt(bool unicode, int row) const {
  if (row < 0) {
    return std::nullopt;
  }
  if (SearchShows(unicode)) {
    return search_.ItemOf(model_.lists, static_cast<std::size_t>(row));
  }
  return static_cast<std::size_t>(row);
}

std::vector<std::size_t> ShownLists::SelectedItems(bool unicode) const {
  std::vector<std::size_t> items;
  for (const int row : View(unicode).SelectedIndices()) {
    if (const auto item = ItemAt(unicode, row)) {
      items.push_back(*item);
    }
  }
  return items;
}

std::optional<std::size_t> ShownLists::FocusedItem(bool unicode) const {
  return ItemAt(unicode, View(unicode).FocusedIndex());
}

lists::ViewState ShownLists::ReadItems(bool unicode) const {
  const lists::ViewState rows = ReadRows(View(unicode));
  return SearchShows(unicode) ? search_.ToItems(model_.lists, rows) : rows;
}

void ShownLists::FollowSearchInsertion(bool unicode, std::size_t inserted) {
  VirtualListView& view = View(unicode);
  const lists::ViewState rows = search_.FollowInsertion(model_.lists, ReadRows(view), inserted);
  view.SetCount(RowCount(unicode));
  view.ShowState(rows.selected, rows.caret, rows.top);
}

}  // namespace pellix::win32
