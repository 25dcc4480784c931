#pragma once
// The row above the lists: the tool button with its picture and the check boxes "tab", "wide"
// and "mm". It is laid out from the right edge of the designed client area, so that a caption
// wider than designed (a stand-in font is wider) takes its room from the list selector on its
// left, never from a neighbour and never past the edge.

#include <windows.h>

#include <functional>

#include "win32/platform/gdi.h"

namespace pellix::win32 {

class TopRow {
 public:
  // What a click on each control does.
  struct Clicks {
    std::function<void()> toolButton;
    std::function<void()> tabBox;
    std::function<void()> wideBox;
    std::function<void()> memoBox;
  };

  // The row comes right after `selector` in the order the Tab key visits the controls;
  // `tooltips` shows the hints of its controls.
  void Create(HWND parent, HWND selector, HWND tooltips, Clicks clicks);
  // True when the WM_COMMAND came from the row.
  bool OnCommand(HWND from, int code) const;
  // Font, picture and places for `dpi`. Returns the width left to the list selector.
  int SetDpi(int dpi, HFONT font);

  // The check boxes show the model's state; a click only asks for a change (Clicks).
  static void Check(HWND box, bool on) {
    SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }

  HWND ToolButton() const { return bitBtn1_; }
  HWND TabBox() const { return tabbox_; }
  HWND WideBox() const { return widebox_; }
  HWND MemoBox() const { return mbox_; }

 private:
  Clicks clicks_;
  HWND parent_ = nullptr;
  HWND bitBtn1_ = nullptr;
  HWND tabbox_ = nullptr;
  HWND widebox_ = nullptr;
  HWND mbox_ = nullptr;
  UniqueIcon toolsIcon_;
};

}  // namespace pellix::win32
