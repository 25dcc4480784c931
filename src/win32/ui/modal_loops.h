#pragma once
// Message boxes, the input dialog and popup menus run message loops of their own inside a
// handler. State is committed before one opens; a close that arrives while one runs ends them and
// is carried out once the outermost has returned, so no handler goes on in a destroyed window and
// nothing is ever read from one.

#include <windows.h>

namespace pellix::win32 {

class ModalLoops {
 public:
  // Counts one open loop for its lifetime.
  class Scope {
   public:
    explicit Scope(ModalLoops& loops) : loops_(&loops) { ++loops_->depth_; }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    ~Scope() { loops_->Leave(); }

   private:
    ModalLoops* loops_;
  };

  bool Active() const { return depth_ > 0; }

  // Ends every open loop (a box or a dialog as if cancelled, a menu as if dismissed) and posts
  // WM_CLOSE to `window` once the last of them has returned.
  void CloseWhenDone(HWND window);
  // Once a close was asked for, a handler whose loop returned does not go on.
  bool Closing() const { return closing_; }

 private:
  void Leave();

  int depth_ = 0;
  bool closing_ = false;
  HWND pendingClose_ = nullptr;
};

// MessageBoxW counted as one of the loops.
int ShowBox(ModalLoops& loops, HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

}  // namespace pellix::win32
