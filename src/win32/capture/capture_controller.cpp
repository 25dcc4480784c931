#include "win32/capture/capture_controller.h"

#include "core/capture/capture_rules.h"
#include "core/capture/filter_engine.h"
#include "core/io/errors.h"
#include "win32/capture/clipboard.h"
#include "win32/ui/control_ids.h"

namespace pellix::win32 {
namespace {

// A change whose clipboard another program holds is read again a little later, for up to 5 s:
// the capture must neither be lost nor keep the window waiting.
constexpr UINT kCaptureRetryMs = 100;
constexpr int kCaptureRetries = 50;

}  // namespace

void CaptureController::Attach(HWND window) {
  window_ = window;
  chain_.Attach(window);
}

void CaptureController::AddCommands(CommandTable& commands) {
  commands.Bind(kCmdRestoreChain, [this] { RestoreChain(); });
}

void CaptureController::OnDrawClipboard(WPARAM wParam, LPARAM lParam) {
  // The next viewer hears of every change, whatever happens to our own capture of it.
  struct ForwardOnExit {
    const ViewerChain& chain;
    WPARAM wParam;
    LPARAM lParam;
    ~ForwardOnExit() { chain.ForwardDraw(wParam, lParam); }
  } forward{chain_, wParam, lParam};

  // A newer change replaces one still waiting for the clipboard.
  KillTimer(window_, kTimerCaptureRetry);
  retriesLeft_ = 0;
  if (app::TakeOwnWrite(model_)) {
    return;
  }
  if (!TryCapture()) {
    RecoverFromClipboardError();
    retriesLeft_ = kCaptureRetries;
    SetTimer(window_, kTimerCaptureRetry, kCaptureRetryMs, nullptr);
  }
}

bool CaptureController::OnTimer(UINT_PTR id) {
  if (id != kTimerCaptureRetry) {
    return false;
  }
  if (TryCapture() || --retriesLeft_ <= 0) {
    KillTimer(window_, kTimerCaptureRetry);
    retriesLeft_ = 0;
  }
  return true;
}

bool CaptureController::TryCapture() {
  ClipboardText clipboard;
  try {
    clipboard = ReadClipboardText(window_, services_);
  } catch (const io::ClipboardError&) {
    return false;
  }
  Show(app::CaptureClipboard(model_, std::move(clipboard), services_));
  return true;
}

void CaptureController::Show(const app::CaptureOutcome& outcome) {
  if (outcome.unicodeInserted) {
    lists_.ShowUnicodeInsertion();
  }
  if (outcome.run) {
    lists_.ShowInsertions(outcome.run->inserted);
    if (outcome.run->failed) {
      PostMessageW(window_, kMsgFilterFailed, 0, 0);
    }
  }
}

void CaptureController::RestoreChain() {
  if (!chain_.IsFirst()) {
    chain_.Rejoin();
    try {
      Show(app::CaptureAnsiText(model_, ReadClipboardText(window_, services_).ansi, services_));
    } catch (const io::ClipboardError&) {
      RecoverFromClipboardError();
    }
  }
  lists_.FocusShownList();
}

void CaptureController::RecoverFromClipboardError() {
  if (!chain_.IsFirst()) {
    chain_.Rejoin();
  }
}

}  // namespace pellix::win32
