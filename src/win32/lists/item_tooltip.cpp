#include "win32/lists/item_tooltip.h"

#include <commctrl.h>

#include <windowsx.h>

#include "win32/platform/dpi.h"
#include "win32/ui/tooltips.h"

namespace pellix::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 2;
constexpr int kMaxTipWidth = 600;

}  // namespace

void ItemTooltip::Create(HWND parent, int dpi, std::initializer_list<HWND> lists, TextOf textOf) {
  parent_ = parent;
  textOf_ = std::move(textOf);
  tooltip_ = CreateTooltips(parent, TTS_NOPREFIX);
  SetDpi(dpi);  // an item's lines show as lines
  for (const HWND list : lists) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = parent;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SetWindowSubclass(list, &ItemTooltip::ListSubclass, kSubclassId,
                      reinterpret_cast<DWORD_PTR>(this));
  }
}

void ItemTooltip::SetDpi(int dpi) {
  SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, Scale(kMaxTipWidth, dpi));
}

LRESULT CALLBACK ItemTooltip::ListSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<ItemTooltip*>(data);
  try {
    if (message == WM_MOUSEMOVE) {
      self->OnMouseMove(hwnd, lParam);
    } else if (message == WM_NCDESTROY) {
      RemoveWindowSubclass(hwnd, &ItemTooltip::ListSubclass, kSubclassId);
    }
  } catch (...) {
    self->errors_.Report(std::current_exception());
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void ItemTooltip::OnMouseMove(HWND list, LPARAM point) {
  if (ListView_GetItemCount(list) == 0) {
    SetText(list, std::wstring());  // the items went: no tip of one of them stays behind
    return;
  }
  LVHITTESTINFO hit{};
  hit.pt = POINT{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  const int row = ListView_HitTest(list, &hit);
  if ((hit.flags & LVHT_ONITEM) == 0 || row < 0 || row == hoverRow_) {
    return;  // within the same item, the tooltip is not built again
  }
  hoverRow_ = row;
  SetText(list, textOf_(list, static_cast<std::size_t>(row)));
}

void ItemTooltip::SetText(HWND list, const std::wstring& text) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = parent_;
  tool.uId = reinterpret_cast<UINT_PTR>(list);
  tool.lpszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace pellix::win32
