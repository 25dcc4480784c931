#include "win32/paste/key_delivery.h"

#include "win32/paste/key_input.h"
#include "win32/ui/control_ids.h"

namespace pellix::win32 {
namespace {

// How often the run looks at the desktop while it waits, and types the next slice of a text.
constexpr UINT kLookEveryMs = 10;

}  // namespace

void KeyDelivery::Attach(HWND window, Hooks hooks) {
  window_ = window;
  hooks_ = std::move(hooks);
}

void KeyDelivery::Paste(HWND target, bool tab) {
  text_.reset();
  tab_ = tab;
  Begin(target);
}

void KeyDelivery::Type(HWND target, const std::u16string& text, bool tab) {
  text_.emplace(text, tab);
  tab_ = false;  // the text carries it
  Begin(target);
}

void KeyDelivery::Begin(HWND target) {
  // The focus window is usually a child; only a top-level window can be brought to the front,
  // and the focus comes back to the child with it.
  target_ = GetAncestor(target, GA_ROOT);
  gate_.emplace(GetTickCount64());
  DWORD process = 0;
  GetWindowThreadProcessId(target_, &process);
  const bool dropped = paste::KeysWouldBeDropped(integrity_, GetCurrentProcessId(), process);
  // In front even when it would drop our keys: the user pastes by hand there.
  if (!SetForegroundWindow(target_)) {
    Finish(IsWindow(target_) ? paste::Outcome::kNotInFront : paste::Outcome::kTargetGone);
  } else if (dropped) {
    Finish(paste::Outcome::kElevated);
  } else {
    SetTimer(window_, kTimerPasteWait, kLookEveryMs, nullptr);
    Look();  // already in front, the keys go at once
  }
}

bool KeyDelivery::OnTimer(UINT_PTR id) {
  if (id != kTimerPasteWait) {
    return false;
  }
  if (Busy()) {
    Look();
  } else {
    KillTimer(window_, kTimerPasteWait);
  }
  return true;
}

void KeyDelivery::Look() {
  const paste::TargetLook look{IsWindow(target_) != FALSE, GetForegroundWindow() == target_,
                               !HeldModifiers().empty(), text_.has_value() && EscapeDown()};
  const std::optional<paste::Outcome> answer = gate_->Look(look, GetTickCount64());
  if (!answer) {
    return;
  }
  if (*answer != paste::Outcome::kDelivered) {
    Finish(*answer);
    return;
  }
  Deliver();
}

void KeyDelivery::Deliver() {
  if (!text_) {
    SendKeyEvents(paste::PasteKeys(HeldModifiers(), tab_));
    Finish(paste::Outcome::kDelivered);
    return;
  }
  const ULONGLONG now = GetTickCount64();
  if (!pace_) {
    pace_.emplace(now);
  }
  const std::size_t due = pace_->Due(now);
  if (due == 0) {
    return;
  }
  SendKeyEvents(paste::AroundHeldKeys(HeldModifiers(), text_->Next(due)));
  gate_->Typed(now);
  if (hooks_.progress) {
    hooks_.progress(text_->Typed(), text_->Total());
  }
  if (text_->Done()) {
    Finish(paste::Outcome::kDelivered);
  }
}

void KeyDelivery::Finish(paste::Outcome outcome) {
  KillTimer(window_, kTimerPasteWait);
  target_ = nullptr;
  const std::size_t typed = text_ ? text_->Typed() : 0;
  const std::size_t total = text_ ? text_->Total() : 0;
  text_.reset();
  pace_.reset();
  gate_.reset();
  if (hooks_.finished) {
    hooks_.finished(outcome, typed, total);
  }
}

void KeyDelivery::Stop() {
  KillTimer(window_, kTimerPasteWait);
  target_ = nullptr;
  text_.reset();
  pace_.reset();
  gate_.reset();
}

}  // namespace pellix::win32
