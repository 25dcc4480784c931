#include "win32/lists/list_drag.h"

#include <commctrl.h>

namespace pellix::win32 {

void ListDrag::Attach(HWND window, Targets targets, Drops drops) {
  window_ = window;
  targets_ = std::move(targets);
  drops_ = std::move(drops);
}

void ListDrag::Begin(int pressedIndex) {
  if (pressedIndex < 0) {
    return;
  }
  from_ = pressedIndex;
  SetCapture(window_);
  OnMouseMove();
}

ListDrag::Over ListDrag::TargetAt(POINT screen, HWND* field) const {
  const HWND under = WindowFromPoint(screen);
  if (under == nullptr) {
    return Over::kNothing;
  }
  if (under == targets_.list || IsChild(targets_.list, under)) {
    return Over::kList;
  }
  if (under == targets_.selector || IsChild(targets_.selector, under)) {
    return Over::kSelector;
  }
  if (targets_.memoField) {
    const HWND memo = targets_.memoField();
    if (memo != nullptr && (under == memo || IsChild(memo, under))) {
      *field = memo;
      return Over::kMemo;
    }
  }
  return Over::kNothing;
}

bool ListDrag::OnMouseMove() {
  if (!Active()) {
    return false;
  }
  POINT screen{};
  GetCursorPos(&screen);
  HWND field = nullptr;
  const bool accepted = TargetAt(screen, &field) != Over::kNothing;
  SetCursor(LoadCursorW(nullptr, accepted ? IDC_ARROW : IDC_NO));
  return true;
}

bool ListDrag::OnButtonUp() {
  if (!Active()) {
    return false;
  }
  const int from = from_;
  from_ = -1;
  ReleaseCapture();
  POINT screen{};
  GetCursorPos(&screen);
  HWND field = nullptr;
  switch (TargetAt(screen, &field)) {
    case Over::kList: {
      LVHITTESTINFO hit{};
      hit.pt = screen;
      ScreenToClient(targets_.list, &hit.pt);
      const int onto = ListView_HitTest(targets_.list, &hit);
      drops_.onList(from, (hit.flags & LVHT_ONITEM) != 0 ? onto : -1);
      break;
    }
    case Over::kSelector:
      drops_.onSelector(from);
      break;
    case Over::kMemo:
      drops_.onMemo(from, field);
      break;
    case Over::kNothing:
      break;
  }
  return true;
}

bool ListDrag::OnCaptureLost() {
  if (!Active()) {
    return false;
  }
  from_ = -1;  // another window took the mouse: the drag is over, nothing dropped
  return true;
}

void ListDrag::Cancel() {
  if (Active()) {
    from_ = -1;
    ReleaseCapture();
  }
}

}  // namespace pellix::win32
