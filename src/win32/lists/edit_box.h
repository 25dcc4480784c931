#pragma once
// The edit box: one item's text in a field, written back with 更新, dropped with キャンセル, or
// copied into the program the user came from with コピー. It is made when it first opens, and
// from then on lives for the whole run and is only shown and hidden.

#include <functional>
#include <string>

#include "win32/platform/gdi.h"
#include "win32/ui/command_table.h"
#include "win32/ui/window.h"

namespace pellix::win32 {

class EditBox final : public Window {
 public:
  struct Actions {
    std::function<void(const std::wstring&)> update;  // 更新: the text goes back to its item
    std::function<void()> closed;                     // after 更新 or キャンセル
    std::function<void(const std::wstring&)> copy;    // コピー: onto the clipboard and pasted
    std::function<void(const std::wstring&)> cut;     // カット: onto the clipboard
    std::function<void()> fieldFocused;
  };

  // `tooltips` (a tooltip window that outlives the box) shows the buttons' hints.
  EditBox(ErrorSink& errors, HWND owner, HWND tooltips)
      : Window(errors), owner_(owner), tooltips_(tooltips) {}
  void SetActions(Actions actions) { actions_ = std::move(actions); }

  // Shows the text, right-aligned with the main window and 15 pixels below its top.
  void Open(const std::wstring& text, const RECT& mainWindow);

  // The edit box's own shortcuts, for the message loop; none before it is made.
  HACCEL Accelerators() const { return accelerators_.Get(); }

 private:
  void Make();
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void SetDpi(int dpi);
  void OnDpiChanged(int dpi) override;
  void Layout();
  std::wstring FieldText() const;
  std::wstring SelectedText() const;
  void Finish(bool update);

  HWND owner_ = nullptr;
  HWND tooltips_ = nullptr;
  Actions actions_;
  int dpi_ = 96;
  UniqueFont font_;
  UniqueAccelerators accelerators_;
  HWND field_ = nullptr;
  HWND copyButton_ = nullptr;
  HWND updateButton_ = nullptr;
  HWND cancelButton_ = nullptr;
};

}  // namespace pellix::win32
