#pragma once
// The tray menu, also opened by the tool button: its items, their check marks and what is not
// available yet.

#include <optional>

#include "win32/platform/gdi.h"

namespace pellix::win32 {

class TrayMenu {
 public:
  TrayMenu();

  HMENU Handle() const { return menu_.Get(); }
  HMENU VersionMenu() const { return version_; }

  // Checks the paste option at `position` and unchecks the other nine; a position outside the
  // menu leaves all ten unchecked.
  void SetPasteOption(std::optional<int> position);
  std::optional<int> PasteOption() const;

  // Checks the hotkey item at `position` (0 to 4) and unchecks the others.
  void CheckHotkeyItem(std::optional<int> position);

  bool Transparent() const;
  void SetTransparent(bool on);

  // Shows the menu at the pointer and returns the chosen command, or 0.
  UINT Track(HWND owner) const;

 private:
  UniqueMenu menu_;
  HMENU options_ = nullptr;
  HMENU hotkeys_ = nullptr;
  HMENU version_ = nullptr;
};

}  // namespace pellix::win32
