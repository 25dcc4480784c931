#include "win32/shell/closing.h"

#include <string>
#include <vector>

namespace pellix::win32 {

LRESULT Closing::OnMessage(HWND window, UINT message, WPARAM wParam) {
  if (message == WM_QUERYENDSESSION) {
    OnQueryEndSession();
    return TRUE;
  }
  if (message == WM_CLOSE) {
    OnCloseRequest(window);
  } else if (message == WM_ENDSESSION && wParam != 0) {
    OnSessionEnd(window);
  }
  return 0;
}

void Closing::OnCloseRequest(HWND window) {
  if (context_.loops.Active()) {
    // A question is open: it is ended first, and the close comes back once it has returned.
    context_.loops.CloseWhenDone(window);
    return;
  }
  if (!closed_) {
    // The background writes end first, so none of them can land after the final ones.
    context_.autoSave.Stop();
    std::vector<std::u16string> unwritten;
    const ExitSave::Outcome outcome = context_.exitSave.SaveBeforeClose(window, &unwritten);
    if (closed_) {
      // The session ended while the question was open, and saved what it could.
    } else if (outcome == ExitSave::Outcome::kCalledOff) {
      context_.autoSave.Resume(unwritten);
      return;
    } else {
      closed_ = true;
      context_.tearDown();
    }
  }
  DestroyWindow(window);
}

void Closing::OnSessionEnd(HWND window) {
  SaveForSessionEnd();
  // The model holds nothing half-made: the window may go now.
  OnCloseRequest(window);
}

void Closing::SaveForSessionEnd() {
  if (closed_) {
    return;
  }
  context_.autoSave.Stop();
  context_.exitSave.SaveForSessionEnd();
  closed_ = true;
  context_.tearDown();
}

}  // namespace pellix::win32
