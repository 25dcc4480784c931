#include "win32/lists/list_pane.h"

#include <commctrl.h>

#include <windowsx.h>
#include <algorithm>

#include "core/app/list_tooltip.h"
#include "core/text/codec.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/control_ids.h"
#include "win32/ui/fonts.h"
#include "win32/ui/tooltips.h"
#include "win32/ui/unseen_label.h"

namespace pellix::win32 {
namespace {

constexpr int kItemHeight = 12;
constexpr int kListTop = 20;
constexpr int kSelectorVisibleItems = 12;
constexpr int kSelectorWidth = 100;
// Dropped down, as tall as twelve names.
constexpr int kSelectorHeight = 20 + kSelectorVisibleItems * kItemHeight + 2;

HWND CreateChild(HWND parent, const wchar_t* className, DWORD style, int id, RECT bounds, int dpi) {
  return CreateWindowExW(
      0, className, L"", WS_CHILD | style, Scale(bounds.left, dpi), Scale(bounds.top, dpi),
      Scale(bounds.right - bounds.left, dpi), Scale(bounds.bottom - bounds.top, dpi), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

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

void ListPane::Create(HWND parent, int dpi, HFONT selectorFont, const RECT& listBounds,
                      Actions actions) {
  parent_ = parent;
  dpi_ = dpi;
  listBounds_ = listBounds;
  actions_ = std::move(actions);
  AddUnseenLabel(parent, L"リストの選択");
  comboBox_ =
      CreateChild(parent, WC_COMBOBOXW, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                  kIdComboBox, RECT{0, 0, kSelectorWidth, kSelectorHeight}, dpi);
  SetWindowSubclass(comboBox_, &ListPane::SelectorSubclass, 1, reinterpret_cast<DWORD_PTR>(this));
  listBox_.Create(parent, kIdListBox, listBounds, true);
  tntListBox1_.Create(parent, kIdTntListBox1, listBounds, false);
  SetWindowTextW(listBox_.Handle(), L"ListBox");
  SetWindowTextW(tntListBox1_.Handle(), L"TntListBox1");
  dropbox_ = CreateChild(parent, WC_LISTBOXW, LBS_NOINTEGRALHEIGHT | WS_VSCROLL, kIdDropBox,
                         RECT{0, 20, 84, 108}, dpi);
  SetWindowSubclass(dropbox_, &ListPane::DropboxSubclass, 1, reinterpret_cast<DWORD_PTR>(this));
  for (const HWND control : {comboBox_, dropbox_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(selectorFont), FALSE);
  }
  SendMessageW(comboBox_, CB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
  SendMessageW(dropbox_, LB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
  FitSelectorHeight();
  SendMessageW(comboBox_, CB_SETMINVISIBLE, kSelectorVisibleItems, 0);
  SetListFont(model_.view.fontSize);
  tntListBox1_.SetFont(selectorFont);
  field_.Create(parent, kIdSearchField, selectorFont,
                SearchField::Actions{
                    [this](const std::wstring&) { OnSearchChanged(); },
                    [this](WPARAM key) { SendMessageW(Shown().Handle(), WM_KEYDOWN, key, 0); },
                    [this] { actions_.pasteFromKey(); }, [this] { EndSearch(); }});

  tooltip_ = CreateTooltips(parent, TTS_NOPREFIX);
  // An item's lines show as lines.
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, Scale(600, dpi));
  for (const HWND list : {listBox_.Handle(), tntListBox1_.Handle()}) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SetWindowSubclass(list, &ListPane::ListSubclass, 2, reinterpret_cast<DWORD_PTR>(this));
  }
}

LRESULT CALLBACK ListPane::ListSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<ListPane*>(data);
  try {
    if (message == WM_MOUSEMOVE) {
      self->OnListMouseMove(hwnd, lParam);
    } else if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(hwnd, &ListPane::ListSubclass, 2);
    }
  } catch (...) {
    self->errors_.Report(std::current_exception());
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void ListPane::OnListMouseMove(HWND list, LPARAM point) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = parent_;
  tool.uId = reinterpret_cast<UINT_PTR>(list);
  if (list == listBox_.Handle() && listBox_.Count() == 0) {
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    return;
  }
  LVHITTESTINFO hit{};
  hit.pt = POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  const int index = ListView_HitTest(list, &hit);
  if ((hit.flags & LVHT_ONITEM) == 0 || index < 0 || index == hoverIndex_) {
    return;  // within the same item, the tooltip is not built again
  }
  hoverIndex_ = index;
  const std::wstring text = TooltipText(list, static_cast<std::size_t>(index));
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring ListPane::TooltipText(HWND list, std::size_t row) const {
  const std::size_t index =
      ItemAt(list == tntListBox1_.Handle(), static_cast<int>(row)).value_or(SIZE_MAX);
  if (list == tntListBox1_.Handle()) {
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

void ListPane::Layout(const RECT& listBounds) {
  listBounds_ = listBounds;
  if (listBox_.Handle() != nullptr) {
    RECT client{};
    GetClientRect(parent_, &client);
    // The search field, when open, takes the top of the list's place.
    const RECT list = field_.Place(listBounds, client.right, dpi_);
    listBox_.Move(list);
    tntListBox1_.Move(list);
  }
}

void ListPane::AddCommands(CommandTable& commands) {
  const auto conversion = [this, &commands](UINT id, lists::ItemConversion kind) {
    commands.Bind(
        id, [this, kind] { ConvertFocusedItem(kind); }, [this] { return menuOnItem_; });
  };
  conversion(kCmdFullToHalfWidth, lists::ItemConversion::kFullToHalfWidth);
  conversion(kCmdToFullWidth, lists::ItemConversion::kToFullWidth);
  conversion(kCmdToLowerCase, lists::ItemConversion::kToLowerCase);
  conversion(kCmdToUpperCase, lists::ItemConversion::kToUpperCase);
}

void ListPane::FillNames() {
  SendMessageW(comboBox_, CB_RESETCONTENT, 0, 0);
  SendMessageW(dropbox_, LB_RESETCONTENT, 0, 0);
  const lists::ListStore& store = model_.lists;
  for (std::size_t i = 0; i < store.Count(); ++i) {
    const std::wstring name = ToWide(text::Cp932ToUtf16(services_, store.Slot(i).name));
    SendMessageW(comboBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(dropbox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
}

void ListPane::FollowStore(bool currentChanged, bool ansiViewEmptied) {
  if (currentChanged) {
    ShowStore();
    return;
  }
  if (ansiViewEmptied) {
    listBox_.SetCount(0);  // its list is gone; the view is covered until another is shown
  }
  if (field_.IsOpen()) {
    OnSearchChanged();  // the searched list may stand elsewhere now
  }
  FillNames();
  const auto current = model_.lists.Current();
  SendMessageW(comboBox_, CB_SETCURSEL, current ? *current : static_cast<WPARAM>(-1), 0);
}

void ListPane::ShowStore() {
  FillNames();
  const lists::ListStore& store = model_.lists;
  if (const auto current = store.Current()) {
    SendMessageW(comboBox_, CB_SETCURSEL, *current, 0);
    SwitchList(*current);
  } else {
    // No list selected: the list stays empty until the user picks one.
    SendMessageW(comboBox_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    listBox_.SetCount(0);
  }
}

void ListPane::SwitchList(std::size_t index) {
  const lists::SwitchPlan plan = model_.lists.SwitchList(index);
  VirtualListView& shown = plan.unicode ? tntListBox1_ : listBox_;
  VirtualListView& other = plan.unicode ? listBox_ : tntListBox1_;
  SearchShownList();
  shown.SetCount(RowCount(plan.unicode));
  if (plan.unicode) {
    FitUnicodeColumn();
  } else {
    FitAnsiColumn();
  }
  // The two lists share one place; only the one in use is shown, so focus and screen readers
  // never land on the covered one.
  hoverIndex_ = -1;
  shown.Show(true);
  other.Show(false);
  if (plan.hasItems && shown.Count() > 0) {
    if (IsWindowVisible(parent_)) {
      SetFocus(field_.IsOpen() ? field_.Handle() : shown.Handle());
    }
    shown.SelectOnly(0);
  }
  if (actions_.switched) {
    actions_.switched();
  }
}

bool ListPane::UnicodeShown() const {
  const auto current = model_.lists.Current();
  return current && lists::IsUnicodeListName(model_.lists.Slot(*current).name);
}

void ListPane::FocusShownList() {
  if (IsWindowVisible(parent_)) {
    SetFocus(field_.IsOpen() ? field_.Handle() : Shown().Handle());
  }
}

void ListPane::ShowDropbox() {
  const int names = static_cast<int>(SendMessageW(dropbox_, LB_GETCOUNT, 0, 0));
  const int height = Scale(kItemHeight, dpi_) * names;
  RECT client{};
  GetClientRect(parent_, &client);
  RECT box{};
  GetWindowRect(dropbox_, &box);
  MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&box), 2);
  const int margin = Scale(4, dpi_);
  if (client.bottom < height + Scale(24, dpi_)) {
    // The window grows to show every name; it does not shrink back afterwards.
    RECT window{};
    GetWindowRect(parent_, &window);
    SetWindowPos(parent_, nullptr, 0, 0, window.right - window.left,
                 window.bottom - window.top + height + Scale(24, dpi_) - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(dropbox_, nullptr, 0, 0, box.right - box.left, height + margin,
                 SWP_NOMOVE | SWP_NOZORDER);
  } else if (box.bottom - box.top < height + margin) {
    SetWindowPos(dropbox_, nullptr, 0, 0, box.right - box.left, height + margin,
                 SWP_NOMOVE | SWP_NOZORDER);
  }
  SendMessageW(dropbox_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SetWindowPos(dropbox_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

std::wstring ListPane::AnsiItemText(std::size_t index) const {
  const auto slot = model_.lists.AnsiShown();
  if (!slot || index >= model_.lists.Slot(*slot).items.size()) {
    return {};
  }
  return ToWide(text::Cp932ToUtf16(services_, model_.lists.Slot(*slot).items[index]));
}

std::optional<LRESULT> ListPane::OnNotify(const NMHDR& header) {
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
      } else if (key == VK_ESCAPE && field_.IsOpen()) {
        EndSearch();
      }
      return 0;
    }
    default:
      return 0;
  }
}

std::optional<UniqueMenu> ListPane::ContextMenu(HWND from, LPARAM screenPoint,
                                                const CommandTable& commands) {
  VirtualListView* view = from == listBox_.Handle()       ? &listBox_
                          : from == tntListBox1_.Handle() ? &tntListBox1_
                                                          : nullptr;
  if (view == nullptr) {
    return std::nullopt;
  }
  int hit = view->FocusedIndex();
  if (GET_X_LPARAM(screenPoint) != -1 || GET_Y_LPARAM(screenPoint) != -1) {
    LVHITTESTINFO test{};
    test.pt = POINT{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    ScreenToClient(view->Handle(), &test.pt);
    const int under = ListView_HitTest(view->Handle(), &test);
    hit = (test.flags & LVHT_ONITEM) != 0 ? under : -1;
  }
  const bool selected =
      hit >= 0 && (ListView_GetItemState(view->Handle(), hit, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  if (hit >= 0 && !selected) {
    view->SelectOnly(hit);
  }
  if (view == &tntListBox1_) {
    return commands.BuildMenu(kUnicodeListMenu);
  }
  SetMenuState(hit >= 0, listBox_.Count() > 0);
  return commands.BuildMenu(kListMenu);
}

lists::ViewState ListPane::ReadView(const VirtualListView& view) {
  lists::ViewState state;
  for (const int index : view.SelectedIndices()) {
    state.selected.push_back(static_cast<std::size_t>(index));
  }
  state.caret = lists::IndexFrom(view.FocusedIndex());
  state.top = static_cast<std::size_t>(std::max(view.TopIndex(), 0));
  return state;
}

void ListPane::ShowEdit(bool unicode, const lists::EditResult& result) {
  if (result.changed) {
    ItemsChanged(unicode);
  }
  // The command's view is in items; the view shows rows.
  const lists::ViewState rows =
      SearchShows(unicode) ? search_.ToRows(model_.lists, result.view) : result.view;
  (unicode ? tntListBox1_ : listBox_).ShowState(rows.selected, rows.caret, rows.top);
}

void ListPane::ItemsChanged(bool unicode) {
  search_.Follow(model_.lists);
  if (unicode) {
    tntListBox1_.SetCount(RowCount(true));
    FitUnicodeColumn();
  } else if (model_.lists.AnsiShown()) {
    listBox_.SetCount(RowCount(false));
    FitAnsiColumn();
  }
}

POINT ListPane::ContextMenuPoint(HWND from, LPARAM screenPoint) const {
  POINT point{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
  if (point.x == -1 && point.y == -1) {  // from the keyboard: under the focused item
    point = POINT{0, 0};
    RECT item{};
    const int focused = ListView_GetNextItem(from, -1, LVNI_FOCUSED);
    if (focused >= 0 && ListView_GetItemRect(from, focused, &item, LVIR_BOUNDS)) {
      point = POINT{item.left, item.bottom};
    }
    ClientToScreen(from, &point);
  }
  return point;
}

void ListPane::ConvertFocusedItem(lists::ItemConversion conversion) {
  const auto slot = model_.lists.AnsiShown();
  const int row = listBox_.FocusedIndex();
  const auto item = ItemAt(false, row);
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

void ListPane::ShowInsertions(const std::vector<std::size_t>& inserted) {
  const auto shown = model_.lists.AnsiShown();
  if (shown && *shown < inserted.size() && inserted[*shown] > 0) {
    const lists::Items& items = model_.lists.Slot(*shown).items;
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

void ListPane::WithCurrentSelected(const std::function<void()>& paste) {
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

void ListPane::ShowUnicodeInsertion() {
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

void ListPane::FitAnsiColumn() {
  const auto shown = model_.lists.AnsiShown();
  if (!shown) {
    return;
  }
  const lists::Items& items = model_.lists.Slot(*shown).items;
  std::size_t index = 0;
  ansiWidest_ = LongestOf(items, items.size(), &index);
  listBox_.SetWidestText(ansiWidest_ > 0 ? AnsiItemText(index) : std::wstring());
}

void ListPane::FitUnicodeColumn() {
  const lists::SharedWideItems& items = model_.lists.UnicodeItems();
  std::size_t index = 0;
  unicodeWidest_ = LongestOf(items, items.size(), &index);
  tntListBox1_.SetWidestText(unicodeWidest_ > 0 ? ToWide(items[index]) : std::wstring());
}

void ListPane::SetListFont(int points) {
  SetListFont(CreateUiFont(kFixedGothic, -MulDiv(points, 96, 72), dpi_));
}

void ListPane::SetListFont(UniqueFont font) {
  // The new font goes in before the old one is freed: a control must never draw with a
  // deleted font.
  listBox_.SetFont(font.Get());
  listFont_ = std::move(font);
}

void ListPane::SetDpi(int dpi, HFONT selectorFont) {
  const RECT dropbox = Scale(RECT{0, 20, 84, 108}, dpi);
  SetWindowPos(dropbox_, nullptr, dropbox.left, dropbox.top, dropbox.right - dropbox.left,
               dropbox.bottom - dropbox.top, SWP_NOZORDER | SWP_NOACTIVATE);
  for (const HWND control : {comboBox_, dropbox_, field_.Handle()}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(selectorFont), TRUE);
  }
  SendMessageW(comboBox_, CB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
  SendMessageW(dropbox_, LB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
  tntListBox1_.SetFont(selectorFont);
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, Scale(600, dpi));
  // The list's font, the default or one the user chose, keeps its size in points.
  if (UniqueFont font = RescaleFont(listFont_.Get(), dpi_, dpi)) {
    SetListFont(std::move(font));
  }
  dpi_ = dpi;
  SetSelectorWidth(Scale(kSelectorWidth, dpi_));
}

void ListPane::SetSelectorWidth(int width) {
  SetWindowPos(comboBox_, nullptr, 0, 0, width, Scale(kSelectorHeight, dpi_),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FitSelectorHeight();
}

void ListPane::FitSelectorHeight() {
  // The list starts right under the closed selector; a font taller than designed would make the
  // selector reach into it, so its field gives up the difference. How the field's height maps to
  // the selector's differs between systems, so the height asked for is corrected until it fits.
  const auto excess = [this] {
    RECT box{};
    GetWindowRect(comboBox_, &box);
    return (box.bottom - box.top) - Scale(kListTop, dpi_);
  };
  LRESULT field = SendMessageW(comboBox_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  for (int round = 0; round < 4 && field != CB_ERR; ++round) {
    const int over = excess();
    if (over <= 0 || field <= over) {
      return;
    }
    field -= over;
    SendMessageW(comboBox_, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
  }
}

void ListPane::SetListColor(std::uint32_t color) {
  const bool special = color == 0x1FFFFFFF || color == 0x20000000;  // clNone, clDefault
  if (!special) {
    const COLORREF value = (color & settings::kSystemColor) != 0
                               ? GetSysColor(static_cast<int>(color & 0xFF))
                               : static_cast<COLORREF>(color & 0xFFFFFF);
    ListView_SetTextColor(listBox_.Handle(), value);
    InvalidateRect(listBox_.Handle(), nullptr, TRUE);
  }
}

}  // namespace pellix::win32
