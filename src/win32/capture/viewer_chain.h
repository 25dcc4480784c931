#pragma once
// Membership of the clipboard viewer chain: the notices are passed on to the next viewer, and
// a hung one can never freeze us.

#include <windows.h>

namespace pellix::win32 {

class ViewerChain {
 public:
  ViewerChain() = default;
  ViewerChain(const ViewerChain&) = delete;
  ViewerChain& operator=(const ViewerChain&) = delete;
  // A window that leaves without a word would stay in the chain, and every viewer after it
  // would hear of no copy again.
  ~ViewerChain() { Leave(); }

  void Attach(HWND self) { self_ = self; }

  void Join() {
    nextViewer_ = SetClipboardViewer(self_);
    joined_ = true;
  }
  // Our link is gone with us: a later notice must not be passed to a viewer we no longer know.
  // Leaving twice does nothing.
  void Leave() {
    if (joined_) {
      ChangeClipboardChain(self_, nextViewer_);
    }
    joined_ = false;
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
  bool joined_ = false;
};

}  // namespace pellix::win32
