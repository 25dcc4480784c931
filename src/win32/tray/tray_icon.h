#pragma once
// The icon in the notification area: added at start, added again when the task bar is
// re-created, removed at the end.

#include <windows.h>
// Needs the types of windows.h.
#include <shellapi.h>

#include <string_view>

#include "win32/platform/gdi.h"

namespace pellix::win32 {

class TrayIcon {
 public:
  TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon() { Remove(); }

  // `id` tells our icon apart from others of the same window (the owner window's handle value).
  // The picture is the icon resource `resource` of the executable, at the system's small-icon
  // size, so that the notification area shows the image drawn for that size instead of a
  // larger one shrunk.
  void Add(HWND window, UINT id, WORD resource);
  void AddAgain();
  void Remove();
  // A balloon beside the icon, with an information or a warning sign; said once, not again
  // when the icon is added again.
  void ShowBalloon(std::wstring_view title, std::wstring_view text, bool warning = false);
  // The tip the icon shows under the pointer, kept when the icon is added again; an empty one
  // is the program's name.
  void SetTip(std::wstring_view tip);

 private:
  UniqueIcon icon_;
  NOTIFYICONDATAW data_{};
  bool added_ = false;
};

}  // namespace pellix::win32
