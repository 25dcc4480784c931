#pragma once
// The one drag of the program: an item pressed in the ordinary list and dragged onto another
// item of the list, onto the list selector or onto the memo. The main window holds the mouse
// while the drag lasts and hands its moves and the release here.

#include <windows.h>

#include <functional>
#include <vector>

namespace pellix::win32 {

class ListDrag {
 public:
  struct Targets {
    HWND list = nullptr;              // the ordinary list view, where drags start
    HWND selector = nullptr;          // the list selector
    std::function<HWND()> memoField;  // the memo's field while it is shown, else null
  };
  struct Drops {
    std::function<void(int from, int onto)> onList;  // onto: the item under the point, or -1
    std::function<void(int from)> onSelector;
    std::function<void(int from, HWND field)> onMemo;
  };

  void Attach(HWND window, Targets targets, Drops drops);

  // An item of the ordinary list was pressed and the mouse moved with the button down.
  void Begin(int pressedIndex);
  bool Active() const { return from_ >= 0; }

  // While the drag lasts: true when the message was the drag's.
  bool OnMouseMove();
  bool OnButtonUp();
  bool OnCaptureLost();
  // The main window's mouse messages: true when the drag took the message.
  bool OnMouseMessage(UINT message) {
    switch (message) {
      case WM_MOUSEMOVE:
        return OnMouseMove();
      case WM_LBUTTONUP:
        return OnButtonUp();
      case WM_CAPTURECHANGED:
        OnCaptureLost();
        return false;  // the window's own handling goes on
      default:
        return false;
    }
  }
  void Cancel();

 private:
  enum class Over { kNothing, kList, kSelector, kMemo };
  Over TargetAt(POINT screen, HWND* field) const;

  HWND window_ = nullptr;
  Targets targets_;
  Drops drops_;
  int from_ = -1;
};

}  // namespace pellix::win32
