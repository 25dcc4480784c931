#include "win32/lists/virtual_list_view.h"

#include <algorithm>

namespace pellix::win32 {

void VirtualListView::Create(HWND parent, int id, const RECT& bounds, bool visible) {
  const DWORD style = WS_CHILD | WS_BORDER | WS_TABSTOP | WS_VSCROLL | LVS_REPORT | LVS_OWNERDATA |
                      LVS_NOCOLUMNHEADER | LVS_SHOWSELALWAYS | (visible ? WS_VISIBLE : 0);
  hwnd_ = CreateWindowExW(0, WC_LISTVIEWW, L"", style, bounds.left, bounds.top,
                          bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = bounds.right - bounds.left;
  ListView_InsertColumn(hwnd_, 0, &column);
}

void VirtualListView::SetCount(std::size_t count) {
  ListView_SetItemCountEx(hwnd_, static_cast<int>(count), 0);
  FitColumn();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

int VirtualListView::Count() const {
  return ListView_GetItemCount(hwnd_);
}

void VirtualListView::SetFont(HFONT font) {
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  SetWidestText(std::wstring(widestText_));
}

void VirtualListView::SetWidestText(const std::wstring& text) {
  widestText_ = text;
  // The list view pads an item's text on both sides; a few pixels more keep its last
  // character clear of the edge.
  constexpr int kPadding = 16;
  widestWidth_ = text.empty() ? 0 : ListView_GetStringWidth(hwnd_, text.c_str()) + kPadding;
  FitColumn();
}

void VirtualListView::FitColumn() {
  // Changing the width may show or hide a scroll bar, which changes the client area: settle it.
  for (int round = 0; round < 3; ++round) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int wanted = std::max<int>({client.right, widestWidth_, 1});
    if (ListView_GetColumnWidth(hwnd_, 0) == wanted) {
      return;
    }
    ListView_SetColumnWidth(hwnd_, 0, wanted);
  }
}

void VirtualListView::Move(const RECT& bounds) {
  MoveWindow(hwnd_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
             TRUE);
  FitColumn();
}

void VirtualListView::Show(bool visible) {
  ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

int VirtualListView::FocusedIndex() const {
  return ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED);
}

std::vector<int> VirtualListView::SelectedIndices() const {
  const int count = ListView_GetSelectedCount(hwnd_);
  // Mostly the one selected item is the current one: no search at all. Otherwise the search
  // stops at the last selected item, for looking for a next one may walk every item to the end.
  if (const int focused = FocusedIndex();
      count == 1 && focused >= 0 &&
      (ListView_GetItemState(hwnd_, focused, LVIS_SELECTED) & LVIS_SELECTED) != 0) {
    return {focused};
  }
  std::vector<int> selected;
  selected.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int index = ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
       index >= 0 && static_cast<int>(selected.size()) < count;
       index = static_cast<int>(selected.size()) < count
                   ? ListView_GetNextItem(hwnd_, index, LVNI_SELECTED)
                   : -1) {
    selected.push_back(index);
  }
  return selected;
}

void VirtualListView::ClearSelection() {
  Deselect(SelectedIndices());
}

void VirtualListView::Deselect(const std::vector<int>& selected) {
  // A change of "every item" is carried out item by item by some list view implementations, a
  // pass over 100,000 items; a few selected items are cheaper to take back one by one.
  constexpr std::size_t kOneByOne = 64;
  if (selected.size() > kOneByOne) {
    ListView_SetItemState(hwnd_, -1, 0, LVIS_SELECTED);
    return;
  }
  for (const int index : selected) {
    SetItemSelected(index, false);
  }
}

void VirtualListView::SetFocusedItem(int index) {
  // Focusing one item takes the focus from the one that had it.
  if (index >= 0) {
    ListView_SetItemState(hwnd_, index, LVIS_FOCUSED, LVIS_FOCUSED);
  } else if (const int focused = FocusedIndex(); focused >= 0) {
    ListView_SetItemState(hwnd_, focused, 0, LVIS_FOCUSED);
  }
}

void VirtualListView::SelectOnly(int index) {
  ClearSelection();
  ListView_SetItemState(hwnd_, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetSelectionMark(hwnd_, index);
  ListView_EnsureVisible(hwnd_, index, FALSE);
}

int VirtualListView::TopIndex() const {
  return ListView_GetTopIndex(hwnd_);
}

void VirtualListView::ShowState(const std::vector<std::size_t>& selected,
                                std::optional<std::size_t> caret, std::size_t top,
                                bool revealCaret) {
  ClearSelection();
  SetFocusedItem(-1);
  for (const std::size_t index : selected) {
    SetItemSelected(static_cast<int>(index), true);
  }
  if (caret) {
    const int index = static_cast<int>(*caret);
    ListView_SetItemState(hwnd_, index, LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_SetSelectionMark(hwnd_, index);
  }
  // The top last: marking the current item may have scrolled to it.
  const int now = TopIndex();
  RECT item{};
  if (Count() > 0 && now != static_cast<int>(top) &&
      ListView_GetItemRect(hwnd_, 0, &item, LVIR_BOUNDS)) {
    ListView_Scroll(hwnd_, 0, (static_cast<int>(top) - now) * (item.bottom - item.top));
  }
  if (caret && revealCaret) {
    ListView_EnsureVisible(hwnd_, static_cast<int>(*caret), FALSE);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void VirtualListView::SetItemSelected(int index, bool selected) {
  ListView_SetItemState(hwnd_, index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void VirtualListView::RedrawItem(int index) {
  ListView_RedrawItems(hwnd_, index, index);
}

void VirtualListView::InsertedAtTop(std::size_t count, std::size_t inserted) {
  const std::vector<int> selected = SelectedIndices();
  const int focused = FocusedIndex();
  const int mark = ListView_GetSelectionMark(hwnd_);
  const int shift = static_cast<int>(inserted);
  ListView_SetItemCountEx(hwnd_, static_cast<int>(count), LVSICF_NOSCROLL);
  // Only the items whose state moves are touched: the cost stays that of the selection, not of
  // the list.
  Deselect(selected);
  for (const int index : selected) {
    SetItemSelected(index + shift, true);
  }
  if (focused >= 0) {
    SetFocusedItem(focused + shift);
  }
  if (mark >= 0) {
    ListView_SetSelectionMark(hwnd_, mark + shift);
  }
  FitColumn();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void VirtualListView::AnswerTextRequest(NMLVDISPINFOW& request, const std::wstring& text) {
  if ((request.item.mask & LVIF_TEXT) == 0 || request.item.pszText == nullptr ||
      request.item.cchTextMax <= 0) {
    return;
  }
  const std::size_t room = static_cast<std::size_t>(request.item.cchTextMax) - 1;
  const std::size_t copied = text.copy(request.item.pszText, room);
  request.item.pszText[copied] = L'\0';
}

}  // namespace pellix::win32
