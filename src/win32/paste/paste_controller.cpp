#include "win32/paste/paste_controller.h"

#include <algorithm>

#include "core/app/window_rules.h"
#include "core/io/errors.h"
#include "core/text/codec.h"
#include "win32/paste/clipboard_write.h"
#include "win32/paste/paste_target.h"
#include "win32/ui/control_ids.h"

namespace pellix::win32 {
namespace {

// How often the window pastes go to is sampled.
constexpr UINT kTimer1Ms = 1000;
// The target comes to the front asynchronously (under Wine in particular): keys typed before it
// is there would go to the window that was in front. Checked this often, for this long.
constexpr UINT kPasteWaitPollMs = 10;
constexpr ULONGLONG kPasteWaitMs = 1000;

}  // namespace

void PasteController::Attach(HWND window, std::function<void(bool)> showTabMode) {
  window_ = window;
  showTabMode_ = std::move(showTabMode);
}

void PasteController::SetPasteableWindows(HWND memo, std::vector<HWND> dialogs) {
  memo_ = memo;
  dialogs_ = std::move(dialogs);
}

void PasteController::AddCommands(CommandTable& commands) {
  commands.Bind(
      kCmdSendCopy, [this] { SendCopy(); }, [this] { return lists_.ListCommandsEnabled(); });
  commands.Bind(kCmdTabMode, [this] { SetTabMode(!model_.sendTabFlag); });
}

void PasteController::Start() {
  SetTimer(window_, kTimer1, kTimer1Ms, nullptr);
}

void PasteController::Stop() {
  KillTimer(window_, kTimer1);
  KillTimer(window_, kTimerPasteWait);
  waitingFor_ = nullptr;
}

bool PasteController::OnTimer(UINT_PTR id) {
  if (id == kTimer1) {
    OnTimer1();
    return true;
  }
  if (id == kTimerPasteWait) {
    OnPasteWait();
    return true;
  }
  return false;
}

bool PasteController::Usable(HWND window) const {
  if (window == nullptr || !IsWindowVisible(window)) {
    return false;
  }
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) {
    return true;
  }
  // Of our own windows only those that hold text the user types: the memo's field and the
  // filter dialogs. The list window with its controls, the edit box (whose copy command pastes
  // into the program the user came from), the about box and message boxes are no target.
  const HWND root = GetAncestor(window, GA_ROOT);
  if (root == memo_) {
    return window != memo_;
  }
  return std::find(dialogs_.begin(), dialogs_.end(), root) != dialogs_.end();
}

void PasteController::OnTimer1() {
  const HWND foreground = GetForegroundWindow();
  if (Usable(foreground)) {
    pasteTarget_ = foreground;
  }
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(0, &info) && Usable(info.hwndFocus)) {
    pasteTarget_ = info.hwndFocus;
  }
  // Published on the window, where a test (or a curious user's tool) can see where the next
  // paste will go.
  if (pasteTarget_ != publishedTarget_) {
    SetPropW(window_, L"PellixPasteTarget", pasteTarget_);
    publishedTarget_ = pasteTarget_;
  }
}

void PasteController::SendCopy() {
  if (waitingFor_ != nullptr) {
    return;  // the last paste has not been typed yet
  }
  const bool unicode = lists_.UnicodeShown();
  const std::u16string text =
      app::TakePasteText(model_, unicode, lists_.SelectedItems(unicode),
                         lists_.FocusedItem(unicode).has_value(), services_);
  if (!text.empty()) {
    PasteText(text);
  }
}

void PasteController::PasteText(const std::u16string& text) {
  if (waitingFor_ != nullptr) {
    return;  // the last paste has not been typed yet
  }
  PutOnClipboard(text);
  if (pasteTarget_ != nullptr && IsWindow(pasteTarget_)) {
    PasteWhenInFront(GetAncestor(pasteTarget_, GA_ROOT));
  }
}

void PasteController::PutOnClipboard(const std::u16string& text) {
  model_.ownWrite = true;
  try {
    WriteClipboardText(window_, text);
  } catch (const io::ClipboardError&) {
    // Nothing reached the clipboard, so no notice of ours is coming: the next change is
    // someone else's and must be captured.
    model_.ownWrite = false;
    throw;
  }
}

void PasteController::PasteWhenInFront(HWND topLevel) {
  // The focus window is usually a child; only a top-level window can be brought to the front,
  // and the focus comes back to the child with it.
  if (!SetForegroundWindow(topLevel)) {
    return;  // the text stays on the clipboard for a paste by hand
  }
  if (GetForegroundWindow() == topLevel) {
    TypePasteKeys(model_.sendTabFlag);
    return;
  }
  waitingFor_ = topLevel;
  waitDeadline_ = GetTickCount64() + kPasteWaitMs;
  SetTimer(window_, kTimerPasteWait, kPasteWaitPollMs, nullptr);
}

void PasteController::OnPasteWait() {
  if (GetForegroundWindow() == waitingFor_) {
    TypePasteKeys(model_.sendTabFlag);
  } else if (GetTickCount64() < waitDeadline_ && IsWindow(waitingFor_)) {
    return;
  }
  // Typed, or given up: keys now would land in whatever window is in front instead.
  KillTimer(window_, kTimerPasteWait);
  waitingFor_ = nullptr;
}

void PasteController::PasteFromKey() {
  if (lists_.UnicodeShown()) {
    SendCopy();
    return;
  }
  lists_.WithCurrentSelected([this] { SendCopy(); });
}

void PasteController::OnTabBoxClicked() {
  SetTabMode(!model_.sendTabFlag);
  lists_.FocusShownList();
}

void PasteController::SetTabMode(bool on) {
  model_.sendTabFlag = on;
  showTabMode_(on);
}

}  // namespace pellix::win32
