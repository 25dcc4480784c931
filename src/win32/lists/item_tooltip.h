#pragma once
// The tooltip over the list views: the whole text of the item under the pointer, lines and all,
// however narrow the column.

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>

#include "win32/ui/window.h"

namespace pellix::win32 {

class ItemTooltip {
 public:
  using TextOf = std::function<std::wstring(HWND list, std::size_t row)>;

  explicit ItemTooltip(ErrorSink& errors) : errors_(errors) {}
  ItemTooltip(const ItemTooltip&) = delete;
  ItemTooltip& operator=(const ItemTooltip&) = delete;

  // The tooltip window lives as long as `parent`, whose children `lists` are.
  void Create(HWND parent, int dpi, std::initializer_list<HWND> lists, TextOf textOf);
  void SetDpi(int dpi);
  // The tooltip window, which other controls of the program may show their hints in too.
  HWND Handle() const { return tooltip_; }
  // The rows under the pointer show other items now: the next move builds the text again.
  void Forget() { hoverRow_ = -1; }

 private:
  static LRESULT CALLBACK ListSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void OnMouseMove(HWND list, LPARAM point);
  void SetText(HWND list, const std::wstring& text);

  ErrorSink& errors_;
  HWND parent_ = nullptr;
  HWND tooltip_ = nullptr;
  TextOf textOf_;
  int hoverRow_ = -1;  // the row whose text the tooltip shows
};

}  // namespace pellix::win32
