#pragma once
// How the program ends: by the user's close (終了, the close button), which saves everything and
// may be called off when a file cannot be written, or by the end of the session, which saves
// what it can and never waits for the user.

#include <windows.h>

#include <functional>

#include "win32/shell/auto_save.h"
#include "win32/shell/exit_save.h"
#include "win32/ui/modal_loops.h"

namespace pellix::win32 {

class Closing {
 public:
  struct Context {
    ModalLoops& loops;
    AutoSave& autoSave;
    ExitSave& exitSave;
    // The end of the program's work, once everything is saved: the desktop is left and the
    // lists released.
    std::function<void()> tearDown;
  };

  explicit Closing(Context context) : context_(std::move(context)) {}

  // WM_CLOSE, WM_QUERYENDSESSION and WM_ENDSESSION, with their answers.
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam);

  // WM_CLOSE: saves, asks when a file cannot be written, and destroys `window` unless the user
  // called the close off.
  void OnCloseRequest(HWND window);
  // WM_QUERYENDSESSION: everything is written now, since the session may end without another
  // chance; the lists stay in memory in case another program cancels the end.
  void OnQueryEndSession() { context_.exitSave.SaveForSessionEnd(); }
  // WM_ENDSESSION with the session ending: the process may be ended as soon as this returns, so
  // the work is done here, even while a question is open.
  void OnSessionEnd(HWND window);

 private:
  void SaveForSessionEnd();

  Context context_;
  bool closed_ = false;
};

}  // namespace pellix::win32
