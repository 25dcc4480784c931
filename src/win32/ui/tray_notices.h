#pragma once
// The tray icon as the features see it: where the program tells the user something without a
// question, so that the work in another program goes on. The tray controller is the one
// implementation.

#include <string>

namespace pellix::win32 {

class TrayNotices {
 public:
  TrayNotices() = default;
  TrayNotices(const TrayNotices&) = delete;
  TrayNotices& operator=(const TrayNotices&) = delete;

  // A balloon with a warning sign beside the icon.
  virtual void Warn(const std::u16string& title, const std::u16string& text) = 0;
  // The icon's tip says `tip` from now on (where balloons are not shown, it is what the user
  // can still find); an empty one gives the icon back its plain tip.
  virtual void ShowInTip(const std::u16string& tip) = 0;

 protected:
  ~TrayNotices() = default;
};

}  // namespace pellix::win32
