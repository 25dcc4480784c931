#include "win32/lists/list_pane.h"

#include <commctrl.h>

#include <windowsx.h>

#include "core/app/window_rules.h"
#include "core/text/codec.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/control_ids.h"

namespace pellix::win32 {

void ListPane::Create(HWND parent, int dpi, HFONT selectorFont, const RECT& listBounds,
                      Actions actions) {
  parent_ = parent;
  dpi_ = dpi;
  listBounds_ = listBounds;
  actions_ = std::move(actions);
  chooser_.Create(parent, dpi, selectorFont,
                  ListChooser::Actions{[this](std::size_t list) { SwitchList(list); },
                                       [this](std::size_t list) {
                                         if (list < model_.lists.Count() &&
                                             model_.lists.Current() != list &&
                                             actions_.droppedOnName) {
                                           actions_.droppedOnName(list);
                                         }
                                       }});
  views_.Create(
      parent, dpi, listBounds, selectorFont,
      ShownLists::Actions{[this] { actions_.pasteFromKey(); }, [this] { actions_.sendCopy(); },
                          [this](int item) {
                            if (actions_.beginDrag) {
                              actions_.beginDrag(item);
                            }
                          },
                          [this] {
                            if (field_.IsOpen()) {
                              EndSearch();
                            }
                          },
                          [this] { return field_.IsOpen() ? field_.Handle() : nullptr; }});
  field_.Create(parent, kIdSearchField, selectorFont,
                SearchField::Actions{[this](const std::wstring&) { OnSearchChanged(); },
                                     [this](WPARAM key) {
                                       SendMessageW(views_.Shown().Handle(), WM_KEYDOWN, key, 0);
                                     },
                                     [this] { actions_.pasteFromKey(); }, [this] { EndSearch(); }});
  tooltip_.Create(parent, dpi, {views_.ListBox().Handle(), views_.TntListBox1().Handle()},
                  [this](HWND list, std::size_t row) { return views_.RowText(list, row); });
}

void ListPane::Layout(const RECT& listBounds) {
  listBounds_ = listBounds;
  if (views_.ListBox().Handle() != nullptr) {
    RECT client{};
    GetClientRect(parent_, &client);
    // The search field, when open, takes the top of the list's place.
    views_.Move(field_.Place(listBounds, client.right, dpi_));
  }
}

void ListPane::AddCommands(CommandTable& commands) {
  const auto conversion = [this, &commands](UINT id, lists::ItemConversion kind) {
    commands.Bind(
        id, [this, kind] { views_.ConvertFocusedItem(kind); }, [this] { return menuOnItem_; });
  };
  conversion(kCmdFullToHalfWidth, lists::ItemConversion::kFullToHalfWidth);
  conversion(kCmdToFullWidth, lists::ItemConversion::kToFullWidth);
  conversion(kCmdToLowerCase, lists::ItemConversion::kToLowerCase);
  conversion(kCmdToUpperCase, lists::ItemConversion::kToUpperCase);
}

void ListPane::FollowStore(bool currentChanged, bool ansiViewEmptied) {
  if (currentChanged) {
    ShowStore();
    return;
  }
  if (ansiViewEmptied) {
    views_.ForgetAnsiList();
  }
  if (field_.IsOpen()) {
    OnSearchChanged();  // the searched list may stand elsewhere now
  }
  chooser_.FillNames(model_.lists, services_);
  chooser_.Pick(model_.lists.Current());
}

void ListPane::ShowStore() {
  chooser_.FillNames(model_.lists, services_);
  const auto current = model_.lists.Current();
  chooser_.Pick(current);
  if (current) {
    SwitchList(*current);
  } else {
    // No list selected: the list stays empty until the user picks one.
    views_.ForgetAnsiList();
  }
}

void ListPane::SwitchList(std::size_t index) {
  // A list is never shown before all of it is read.
  if (model_.lists.Loading(index) && actions_.read) {
    actions_.read(index);
  }
  views_.Switch(model_.lists.SwitchList(index));
  tooltip_.Forget();
  if (actions_.switched) {
    actions_.switched();
  }
}

bool ListPane::OnSelectorCommand(HWND from, int code) {
  if (from == field_.Handle() && from != nullptr) {
    if (code == EN_CHANGE) {
      field_.OnEditChange();
    }
    return true;
  }
  return chooser_.OnCommand(from, code);
}

std::optional<UniqueMenu> ListPane::ContextMenu(HWND from, LPARAM screenPoint,
                                                const CommandTable& commands) {
  VirtualListView* view = from == views_.ListBox().Handle()       ? &views_.ListBox()
                          : from == views_.TntListBox1().Handle() ? &views_.TntListBox1()
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
  if (view == &views_.TntListBox1()) {
    return commands.BuildMenu(kUnicodeListMenu);
  }
  SetMenuState(hit >= 0, views_.ListBox().Count() > 0);
  return commands.BuildMenu(kListMenu);
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

bool ListPane::OnActivate(bool active) {
  if (!active) {
    // Asked before the focus leaves with the activation, as the dialog manager asks.
    const HWND focus = GetFocus();
    lastFocus_ = focus != nullptr && IsChild(parent_, focus) ? focus : nullptr;
    return false;
  }
  // An activation that comes late (Wine reports the one of a show only when its X focus
  // arrives) may find the window hidden again: a hidden window's list takes no commands.
  EnableListCommands(IsWindowVisible(parent_) != FALSE);
  RestoreFocus();
  return true;
}

void ListPane::RestoreFocus() {
  const HWND list = views_.Shown().Handle();
  app::FocusedPart last = app::FocusedPart::kNone;
  if (lastFocus_ == list) {
    last = app::FocusedPart::kList;
  } else if (lastFocus_ == field_.Handle()) {
    last = app::FocusedPart::kSearchField;
  } else if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) &&
             IsWindowEnabled(lastFocus_)) {
    last = app::FocusedPart::kOtherControl;
  }
  switch (app::FocusOnActivation(field_.IsOpen(), last)) {
    case app::FocusedPart::kList:
      if (IsWindowVisible(parent_)) {
        SetFocus(list);
      }
      break;
    case app::FocusedPart::kOtherControl:
      SetFocus(lastFocus_);
      break;
    default:
      views_.FocusShownList();  // the open field
      break;
  }
}

void ListPane::OpenSearch() {
  if (!field_.IsOpen()) {
    field_.Open();
    Layout(listBounds_);
    views_.PrepareSearch();
  }
  views_.FocusShownList();
  SendMessageW(field_.Handle(), EM_SETSEL, 0, -1);
}

void ListPane::EndSearch() {
  field_.Close();
  Layout(listBounds_);
  views_.EndSearch();
  tooltip_.Forget();
  views_.FocusShownList();
}

void ListPane::OnKeysFolded() {
  views_.OnKeysFolded();
  tooltip_.Forget();
}

void ListPane::OnSearchChanged() {
  views_.SearchFor(field_.IsOpen() ? FromWide(field_.Text()) : std::u16string());
  tooltip_.Forget();
}

void ListPane::SetDpi(int dpi, HFONT selectorFont) {
  chooser_.SetDpi(dpi, selectorFont);
  SendMessageW(field_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(selectorFont), TRUE);
  views_.SetDpi(dpi, selectorFont);
  tooltip_.SetDpi(dpi);
  dpi_ = dpi;
}

}  // namespace pellix::win32
