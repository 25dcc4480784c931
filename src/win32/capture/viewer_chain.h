#pragma once
// Membership of the clipboard viewer chain: the notices are passed on to the next viewer, and
// a hung one can never freeze us.

#include <windows.h>

namespace pellix::win32 {

class ViewerChain {
 public:
  void Attach(HWND self) { self_ = self; }

  void Join() { nextViewer_ = SetClipboardViewer(self_); }
  // Our link is gone with us: a later notice must not be passed to a viewer we no longer know.
  void Leave() {
    ChangeClipboardChain(self_, nextViewer_);
    nextViewer_ = nullptr;
  }
  bool IsFirst() const { return GetClipboardViewer() == self_; }

  // Leaves and joins again at the front. The platform reports the current clipboard at once.
  void Rejoin() {
    Leave();
    Join();
  }

  // WM_DRAWCLIPBOARD to the next viewer, never waiting on one that does not answer.
  void ForwardDraw(WPARAM wParam, LPARAM lParam) const;
  // WM_CHANGECBCHAIN: a viewer leaves the chain.
  LRESULT OnChangeChain(WPARAM removed, LPARAM next);

 private:
  HWND self_ = nullptr;
  HWND nextViewer_ = nullptr;
};

}  // namespace pellix::win32
