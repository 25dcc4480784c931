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
  if (model_.ownWrite) {
    model_.ownWrite = false;
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
  if (clipboard.secret) {
    return true;
  }
  if (model_.lists.UnicodeCapture() && !clipboard.wide.empty()) {
    model_.lists.InsertUnicodeAtTop(std::move(clipboard.wide));
    lists_.ShowUnicodeInsertion();
  }
  CaptureClipboardText(clipboard.ansi);
  return true;
}

void CaptureController::CaptureClipboardText(const std::optional<std::string>& text) {
  if (!text) {
    return;
  }
  auto taken = capture::TextToCapture(*text, model_.lastText);
  if (!taken) {
    return;
  }
  model_.lastText = std::move(*taken);
  const capture::FilterRun run = capture::RunFilters(model_.lists, model_.lastText, services_);
  lists_.ShowInsertions(run.inserted);
  if (run.failed) {
    PostMessageW(window_, kMsgFilterFailed, 0, 0);
  }
}

void CaptureController::RestoreChain() {
  if (!chain_.IsFirst()) {
    chain_.Rejoin();
    try {
      CaptureClipboardText(ReadClipboardText(window_, services_).ansi);
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
