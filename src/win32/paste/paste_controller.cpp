#include "win32/paste/paste_controller.h"

#include <algorithm>

#include "core/app/window_rules.h"
#include "core/io/errors.h"
#include "core/text/codec.h"
#include "win32/paste/clipboard_write.h"
#include "win32/ui/control_ids.h"

namespace pellix::win32 {
namespace {

// How often the window pastes go to is sampled.
constexpr UINT kTimer1Ms = 1000;

}  // namespace

void PasteController::Attach(HWND window, TrayNotices& notices,
                             std::function<void(bool)> showTabMode) {
  window_ = window;
  notices_ = &notices;
  showTabMode_ = std::move(showTabMode);
  delivery_.Attach(window, KeyDelivery::Hooks{
                               [this](paste::Outcome outcome, std::size_t typed,
                                      std::size_t total) { OnDelivered(outcome, typed, total); },
                               [this](std::size_t typed, std::size_t total) {
                                 if (typingTip_) {
                                   if (auto tip = typingTip_->At(typed, total, GetTickCount64())) {
                                     ShowInTip(*tip);
                                   }
                                 }
                               }});
}

void PasteController::SetPasteableWindows(HWND memo, std::vector<HWND> dialogs) {
  memo_ = memo;
  dialogs_ = std::move(dialogs);
}

void PasteController::AddCommands(CommandTable& commands) {
  const auto listCommands = [this] { return lists_.ListCommandsEnabled(); };
  commands.Bind(
      kCmdSendCopy, [this] { SendCopy(); }, listCommands);
  commands.Bind(
      kCmdTypePaste, [this] { TypeFromKey(); }, listCommands);
  commands.Bind(kCmdTabMode, [this] { SetTabMode(!model_.sendTabFlag); });
}

void PasteController::Start() {
  SetTimer(window_, kTimer1, kTimer1Ms, nullptr);
}

void PasteController::Stop() {
  KillTimer(window_, kTimer1);
  delivery_.Stop();
}

bool PasteController::OnTimer(UINT_PTR id) {
  if (id == kTimer1) {
    OnTimer1();
    return true;
  }
  return delivery_.OnTimer(id);
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

std::u16string PasteController::TakeText() {
  const bool unicode = lists_.UnicodeShown();
  return app::TakePasteText(model_, unicode, lists_.SelectedItems(unicode),
                            lists_.FocusedItem(unicode).has_value(), services_);
}

void PasteController::SendCopy() {
  if (delivery_.Busy()) {
    return;  // the last paste has not been typed yet
  }
  if (const std::u16string text = TakeText(); !text.empty()) {
    PasteText(text);
  }
}

void PasteController::PasteText(const std::u16string& text) {
  if (delivery_.Busy()) {
    return;
  }
  PutOnClipboard(text);
  Deliver(nullptr);
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

void PasteController::TypeFromKey() {
  const auto type = [this] {
    if (delivery_.Busy()) {
      return;
    }
    if (const std::u16string text = TakeText(); !text.empty()) {
      Deliver(&text);
    }
  };
  if (lists_.UnicodeShown()) {
    type();
  } else {
    lists_.WithCurrentSelected(type);
  }
}

void PasteController::Deliver(const std::u16string* typed) {
  // What the last paste left in the tip is said until this one.
  ShowInTip({});
  typedPaste_ = typed != nullptr;
  if (pasteTarget_ == nullptr || !IsWindow(pasteTarget_)) {
    OnDelivered(pasteTarget_ == nullptr ? paste::Outcome::kNoTarget : paste::Outcome::kTargetGone,
                0, 0);
    return;
  }
  if (typed != nullptr) {
    typingTip_.emplace(GetTickCount64());
    delivery_.Type(pasteTarget_, *typed, model_.sendTabFlag);
  } else {
    delivery_.Paste(pasteTarget_, model_.sendTabFlag);
  }
}

void PasteController::OnDelivered(paste::Outcome outcome, std::size_t typed, std::size_t total) {
  typingTip_.reset();
  const std::optional<app::PasteNotice> notice =
      app::PasteFailureNotice(outcome, typedPaste_, typed, total);
  ShowInTip(notice ? notice->tip : std::u16string());
  if (notice) {
    notices_->Warn(notice->balloon.title, notice->balloon.text);
  }
}

void PasteController::ShowInTip(const std::u16string& tip) {
  if (tip.empty() && !tipChanged_) {
    return;
  }
  notices_->ShowInTip(tip);
  tipChanged_ = !tip.empty();
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
