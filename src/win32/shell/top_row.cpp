#include "win32/shell/top_row.h"

#include <commctrl.h>

#include <algorithm>

#include "win32/platform/dpi.h"
#include "win32/ui/caption_fit.h"
#include "win32/ui/control_ids.h"
#include "win32/ui/resource_ids.h"
#include "win32/ui/tooltips.h"

namespace pellix::win32 {
namespace {

// The design at 96 dpi: the row's top and height, and each control's left and right edge.
constexpr int kTop = 1;
constexpr int kHeight = 18;
constexpr int kSelectorRight = 100;
constexpr POINT kToolButton{101, 119};
constexpr POINT kTabBox{122, 156};
constexpr POINT kWideBox{159, 200};
constexpr POINT kMBox{203, 241};
constexpr int kIconSize = 16;
// The selector keeps at least this much of its width, whatever the captions ask.
constexpr int kSelectorMinimum = 40;

HWND CreateButton(HWND parent, const wchar_t* text, DWORD style, int id) {
  return CreateWindowExW(0, WC_BUTTONW, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

void TopRow::Create(HWND parent, HWND selector, HWND tooltips, Clicks clicks) {
  clicks_ = std::move(clicks);
  parent_ = parent;
  bitBtn1_ = CreateButton(parent, L"", WS_TABSTOP | BS_PUSHBUTTON | BS_ICON, kIdBitBtn1);
  // The picture says nothing to a screen reader; the name does, unseen.
  SetWindowTextW(bitBtn1_, L"ツールボタン");
  const DWORD checkStyle = WS_TABSTOP | BS_AUTOCHECKBOX;
  // Alt and the underlined first letter flips a box.
  tabbox_ = CreateButton(parent, L"&tab", checkStyle, kIdTabBox);
  widebox_ = CreateButton(parent, L"&wide", checkStyle, kIdWideBox);
  mbox_ = CreateButton(parent, L"&mm", checkStyle, kIdMBox);
  HWND previous = selector;
  for (const HWND control : {bitBtn1_, tabbox_, widebox_, mbox_}) {
    SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control;
  }
  AddTooltip(tooltips, parent, bitBtn1_, L"ツールボタン");
  AddTooltip(tooltips, parent, tabbox_, L"懸賞入力");
}

int TopRow::SetDpi(int dpi, HFONT font) {
  for (const HWND box : {tabbox_, widebox_, mbox_}) {
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  UniqueIcon icon(
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconTools),
                                    IMAGE_ICON, Scale(kIconSize, dpi), Scale(kIconSize, dpi), 0)));
  SendMessageW(bitBtn1_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.Get()));
  toolsIcon_ = std::move(icon);

  // Right to left from the designed right edge, each control as wide as designed or as its
  // caption needs, with the designed gap before its right neighbour.
  const int top = Scale(kTop, dpi);
  const int height = Scale(kHeight, dpi);
  int right = Scale(kMBox.y, dpi);
  const auto place = [&](HWND control, POINT design, int gapAfter) {
    right -= Scale(gapAfter, dpi);
    const int width = std::max(Scale(design.y - design.x, dpi), CaptionWidth(control, dpi));
    SetWindowPos(control, nullptr, right - width, top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    right -= width;
  };
  place(mbox_, kMBox, 0);
  place(widebox_, kWideBox, kMBox.x - kWideBox.y);
  place(tabbox_, kTabBox, kWideBox.x - kTabBox.y);
  place(bitBtn1_, kToolButton, kTabBox.x - kToolButton.y);

  InvalidateRect(parent_, nullptr, TRUE);
  const int left = right - Scale(kToolButton.x - kSelectorRight, dpi);
  return std::max(std::min(Scale(kSelectorRight, dpi), left), Scale(kSelectorMinimum, dpi));
}

bool TopRow::OnCommand(HWND from, int code) const {
  const std::function<void()>* click = from == bitBtn1_   ? &clicks_.toolButton
                                       : from == tabbox_  ? &clicks_.tabBox
                                       : from == widebox_ ? &clicks_.wideBox
                                       : from == mbox_    ? &clicks_.memoBox
                                                          : nullptr;
  if (click == nullptr || from == nullptr || code != BN_CLICKED) {
    return false;
  }
  (*click)();
  return true;
}

}  // namespace pellix::win32
