// The list pane's selector and the drop box of list names: the keys and clicks that switch the
// shown list or move dragged items to another one.

#include "win32/lists/list_pane.h"

namespace pellix::win32 {

LRESULT CALLBACK ListPane::SelectorSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<ListPane*>(data);
  try {
    if (message == WM_CHAR && wParam >= L' ') {
      return 0;  // no type-ahead: a letter must not jump to another list
    }
    if (message == WM_KEYDOWN && SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0)) {
      if (self->selectorKeys_.KeyWhileDropped(wParam == VK_RETURN)) {
        const LRESULT highlighted = SendMessageW(hwnd, CB_GETCURSEL, 0, 0);
        if (highlighted >= 0) {
          self->SwitchList(static_cast<std::size_t>(highlighted));
        }
      }
    }
    if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(hwnd, &ListPane::SelectorSubclass, 1);
    }
  } catch (...) {
    self->errors_.Report(std::current_exception());
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ListPane::DropboxSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<ListPane*>(data);
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
    RemoveWindowSubclass(hwnd, &ListPane::DropboxSubclass, 1);
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void ListPane::OnDropboxRelease(UINT message, LPARAM point) {
  ShowWindow(dropbox_, SW_HIDE);
  if (message == WM_RBUTTONUP) {
    return;
  }
  const auto hit = static_cast<DWORD>(SendMessageW(dropbox_, LB_ITEMFROMPOINT, 0, point));
  if (HIWORD(hit) != 0) {
    return;  // not on a name
  }
  const std::size_t list = LOWORD(hit);
  if (list < model_.lists.Count() && model_.lists.Current() != list && actions_.droppedOnName) {
    actions_.droppedOnName(list);
  }
}

bool ListPane::OnSelectorCommand(HWND from, int code) {
  if (from == field_.Handle() && from != nullptr) {
    if (code == EN_CHANGE) {
      field_.OnEditChange();
    }
    return true;
  }
  if (from != comboBox_) {
    return false;
  }
  if (code == CBN_SELCHANGE) {
    const LRESULT index = SendMessageW(comboBox_, CB_GETCURSEL, 0, 0);
    if (selectorKeys_.Changed() && index >= 0) {
      SwitchList(static_cast<std::size_t>(index));
    }
  } else if (code == CBN_CLOSEUP) {
    selectorKeys_.ClosedUp();
  }
  return true;
}

}  // namespace pellix::win32
