#pragma once
// The list selector over the lists and the drop box of list names under it: the keys and clicks
// that switch the shown list, and the names a drop of dragged items is offered.

#include <windows.h>

#include <functional>
#include <optional>

#include "core/lists/list_selector.h"
#include "core/lists/list_store.h"
#include "core/text/text_services.h"
#include "win32/ui/window.h"

namespace pellix::win32 {

class ListChooser {
 public:
  struct Actions {
    std::function<void(std::size_t list)> switchTo;       // a name picked in the selector
    std::function<void(std::size_t list)> droppedOnName;  // a name released on in the drop box
  };

  explicit ListChooser(ErrorSink& errors) : errors_(errors) {}
  ListChooser(const ListChooser&) = delete;
  ListChooser& operator=(const ListChooser&) = delete;

  void Create(HWND parent, int dpi, HFONT font, Actions actions);
  HWND Selector() const { return comboBox_; }

  // The names of `store`, the current one picked (none: no list chosen).
  void FillNames(const lists::ListStore& store, const text::TextServices& services);
  void Pick(std::optional<std::size_t> list);
  // After a drop on the selector: the names, for the user to pick where the items go. The
  // window grows to show them all.
  void ShowDropbox();

  // True when the command came from the selector.
  bool OnCommand(HWND from, int code);

  void SetDpi(int dpi, HFONT font);
  // The selector gives up width to its neighbours on the right when their captions need it.
  void SetWidth(int width);

 private:
  static LRESULT CALLBACK SelectorSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK DropboxSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void OnDropboxRelease(UINT message, LPARAM point);
  void FitSelectorHeight();

  ErrorSink& errors_;
  Actions actions_;
  HWND parent_ = nullptr;
  int dpi_ = 96;
  HWND comboBox_ = nullptr;
  HWND dropbox_ = nullptr;
  lists::ListSelectorKeys keys_;
};

}  // namespace pellix::win32
