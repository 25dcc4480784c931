#pragma once
// The version box: the program's name and version, shown without modality from the tray menu.
// It is made when it is first shown.

#include "win32/platform/gdi.h"
#include "win32/ui/scaled_layout.h"
#include "win32/ui/window.h"

namespace pellix::win32 {

class AboutBox final : public Window {
 public:
  AboutBox(ErrorSink& errors, HWND owner) : Window(errors), owner_(owner) {}

  // Centred on the screen the first time; afterwards where the user left it.
  void Show();

 private:
  void Make();
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void SetDpi(int dpi);
  void OnDpiChanged(int dpi) override { SetDpi(dpi); }

  HWND owner_ = nullptr;
  bool placed_ = false;
  UniqueFont font_;
  UniqueIcon icon_;
  ScaledLayout layout_;
  HWND picture_ = nullptr;
};

}  // namespace pellix::win32
