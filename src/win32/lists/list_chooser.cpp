#include "win32/lists/list_chooser.h"

#include <commctrl.h>

#include "core/text/codec.h"
#include "win32/platform/dpi.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/control_ids.h"
#include "win32/ui/unseen_label.h"

namespace pellix::win32 {
namespace {

constexpr int kItemHeight = 12;
constexpr int kListTop = 20;
constexpr int kSelectorVisibleItems = 12;
constexpr int kSelectorWidth = 100;
// Dropped down, as tall as twelve names.
constexpr int kSelectorHeight = 20 + kSelectorVisibleItems * kItemHeight + 2;
constexpr RECT kDropbox{0, 20, 84, 108};
constexpr UINT_PTR kSubclassId = 1;

HWND CreateChild(HWND parent, const wchar_t* className, DWORD style, int id, RECT bounds, int dpi) {
  const RECT scaled = Scale(bounds, dpi);
  return CreateWindowExW(0, className, L"", WS_CHILD | style, scaled.left, scaled.top,
                         scaled.right - scaled.left, scaled.bottom - scaled.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

void ListChooser::Create(HWND parent, int dpi, HFONT font, Actions actions) {
  parent_ = parent;
  dpi_ = dpi;
  actions_ = std::move(actions);
  AddUnseenLabel(parent, L"リストの選択");
  comboBox_ =
      CreateChild(parent, WC_COMBOBOXW, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                  kIdComboBox, RECT{0, 0, kSelectorWidth, kSelectorHeight}, dpi);
  SetWindowSubclass(comboBox_, &ListChooser::SelectorSubclass, kSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  dropbox_ = CreateChild(parent, WC_LISTBOXW, LBS_NOINTEGRALHEIGHT | WS_VSCROLL, kIdDropBox,
                         kDropbox, dpi);
  SetWindowSubclass(dropbox_, &ListChooser::DropboxSubclass, kSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  for (const HWND control : {comboBox_, dropbox_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  SendMessageW(comboBox_, CB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
  SendMessageW(dropbox_, LB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
  FitSelectorHeight();
  SendMessageW(comboBox_, CB_SETMINVISIBLE, kSelectorVisibleItems, 0);
}

void ListChooser::FillNames(const lists::ListStore& store, const text::TextServices& services) {
  SendMessageW(comboBox_, CB_RESETCONTENT, 0, 0);
  SendMessageW(dropbox_, LB_RESETCONTENT, 0, 0);
  for (std::size_t i = 0; i < store.Count(); ++i) {
    const std::wstring name = ToWide(text::Cp932ToUtf16(services, store.Slot(i).name));
    SendMessageW(comboBox_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(dropbox_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
}

void ListChooser::Pick(std::optional<std::size_t> list) {
  SendMessageW(comboBox_, CB_SETCURSEL, list ? *list : static_cast<WPARAM>(-1), 0);
}

void ListChooser::ShowDropbox() {
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

LRESULT CALLBACK ListChooser::SelectorSubclass(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<ListChooser*>(data);
  try {
    if (message == WM_CHAR && wParam >= L' ') {
      return 0;  // no type-ahead: a letter must not jump to another list
    }
    if (message == WM_KEYDOWN && SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0)) {
      if (self->keys_.KeyWhileDropped(wParam == VK_RETURN)) {
        const LRESULT highlighted = SendMessageW(hwnd, CB_GETCURSEL, 0, 0);
        if (highlighted >= 0) {
          self->actions_.switchTo(static_cast<std::size_t>(highlighted));
        }
      }
    }
    if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(hwnd, &ListChooser::SelectorSubclass, kSubclassId);
    }
  } catch (...) {
    self->errors_.Report(std::current_exception());
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ListChooser::DropboxSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<ListChooser*>(data);
  if (message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP) {
    // The box handles the release first; a failure in what follows must not hand the same
    // message to it a second time.
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    try {
      self->OnDropboxRelease(message, lParam);
    } catch (...) {
      self->errors_.Report(std::current_exception());
    }
    return result;
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &ListChooser::DropboxSubclass, kSubclassId);
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void ListChooser::OnDropboxRelease(UINT message, LPARAM point) {
  ShowWindow(dropbox_, SW_HIDE);
  if (message == WM_RBUTTONUP) {
    return;
  }
  const auto hit = static_cast<DWORD>(SendMessageW(dropbox_, LB_ITEMFROMPOINT, 0, point));
  if (HIWORD(hit) != 0) {
    return;  // not on a name
  }
  const std::size_t list = LOWORD(hit);
  if (actions_.droppedOnName) {
    actions_.droppedOnName(list);
  }
}

bool ListChooser::OnCommand(HWND from, int code) {
  if (from != comboBox_ || from == nullptr) {
    return false;
  }
  if (code == CBN_SELCHANGE) {
    const LRESULT index = SendMessageW(comboBox_, CB_GETCURSEL, 0, 0);
    if (keys_.Changed() && index >= 0) {
      actions_.switchTo(static_cast<std::size_t>(index));
    }
  } else if (code == CBN_CLOSEUP) {
    keys_.ClosedUp();
  }
  return true;
}

void ListChooser::SetDpi(int dpi, HFONT font) {
  const RECT dropbox = Scale(kDropbox, dpi);
  SetWindowPos(dropbox_, nullptr, dropbox.left, dropbox.top, dropbox.right - dropbox.left,
               dropbox.bottom - dropbox.top, SWP_NOZORDER | SWP_NOACTIVATE);
  for (const HWND control : {comboBox_, dropbox_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  SendMessageW(comboBox_, CB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
  SendMessageW(dropbox_, LB_SETITEMHEIGHT, 0, Scale(kItemHeight, dpi));
  dpi_ = dpi;
  SetWidth(Scale(kSelectorWidth, dpi_));
}

void ListChooser::SetWidth(int width) {
  SetWindowPos(comboBox_, nullptr, 0, 0, width, Scale(kSelectorHeight, dpi_),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FitSelectorHeight();
}

void ListChooser::FitSelectorHeight() {
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

}  // namespace pellix::win32
