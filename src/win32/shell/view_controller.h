#pragma once
// How the main window looks and stands: the lock's red, the transparent mode (with the memo
// window), the list font, the wide mode, and the memo window docked to its right edge.

#include <windows.h>

#include <functional>

#include "core/app/model.h"
#include "win32/lists/shown_lists.h"
#include "win32/platform/gdi.h"
#include "win32/ui/command_table.h"
#include "win32/ui/modal_loops.h"

namespace pellix::win32 {

class ViewController {
 public:
  ViewController(app::Model& model, ShownLists& lists, ModalLoops& loops)
      : model_(model), lists_(lists), loops_(loops) {}

  // `showWide` shows the wide mode in its check box.
  void Attach(HWND window, std::function<void(bool)> showWide);
  void AttachMemo(HWND memo);
  void AddCommands(CommandTable& commands);

  // The model's lock, transparency and font, at start.
  void ApplyModel();
  HBRUSH Background() const { return background_.Get(); }
  // WM_ERASEBKGND, and the colour messages of the controls on the window's background.
  LRESULT PaintBackground(UINT message, HDC dc) const;
  void SetLock(bool on);
  void SetTransparent(bool on);

  // The window was moved or resized (by the user, or by the program).
  void OnMoved();
  void OnResized();
  void OnWideBoxClicked() { SetWide(!model_.view.wide); }
  void SetWide(bool on);
  // Widens the window to the longest ANSI item while "wide" is checked, back to 240 when not.
  void ApplyWideMode();
  void DockMemoWindow();

 private:
  void ChooseListFont();

  app::Model& model_;
  ShownLists& lists_;
  ModalLoops& loops_;
  HWND window_ = nullptr;
  std::function<void(bool)> showWide_;
  HWND memo_ = nullptr;
  UniqueBrush background_;  // button face, or red while the lists are locked
  // The next resize is the wide mode's own, not the user's.
  bool wideResize_ = false;
  // The font dialog opens with the font last chosen in it.
  LOGFONTW chosenFont_{};
  COLORREF chosenColor_ = 0;
  bool fontChosen_ = false;
};

}  // namespace pellix::win32
