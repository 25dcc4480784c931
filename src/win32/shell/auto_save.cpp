#include "win32/shell/auto_save.h"

#include "win32/ui/control_ids.h"

namespace pellix::win32 {
namespace {

constexpr UINT kTickMs = 500;
// A burst of changes is written together once it has been this old; under a steady stream of
// captures the lists are written about this often.
constexpr ULONGLONG kDelayMs = 1500;
// Settings change without touching the lists (the window moved, an option): they are looked at
// this often.
constexpr ULONGLONG kSettingsLookMs = 5000;

}  // namespace

void AutoSave::Start(HWND window) {
  window_ = window;
  changed_.MarkWritten(model_);
  takenRevision_ = model_.lists.Revision();
  lastLook_ = GetTickCount64();
  SetTimer(window_, kTimerAutoSave, kTickMs, nullptr);
}

bool AutoSave::OnTimer(UINT_PTR id) {
  if (id != kTimerAutoSave) {
    return false;
  }
  Look(GetTickCount64());
  return true;
}

void AutoSave::TakeOutcomes(ULONGLONG now) {
  for (app::BackgroundWriter::Outcome& outcome : writer_.TakeOutcomes()) {
    if (sink_) {
      sink_(outcome);
    }
    if (outcome.changedElsewhere) {
      // Written again once what the other instance wrote is taken in.
      changed_.Forget(outcome.path);
    } else if (!outcome.failure) {
      failing_.Written(outcome.path);
    } else if (failing_.Failed(outcome.path, now)) {
      notices_.push_back(std::move(*outcome.failure));
      PostMessageW(window_, noticeMessage_, 0, 0);
    }
  }
}

void AutoSave::Look(ULONGLONG now) {
  TakeOutcomes(now);
  bool retry = false;
  for (const std::u16string& path : failing_.TakeDue(now)) {
    changed_.Forget(path);
    retry = true;
  }
  if (model_.lists.Revision() != takenRevision_) {
    changedSince_ = changedSince_ != 0 ? changedSince_ : now;
  }
  const bool listsDue = changedSince_ != 0 && now - changedSince_ >= kDelayMs;
  if (listsDue || retry || now - lastLook_ >= kSettingsLookMs) {
    takenRevision_ = model_.lists.Revision();
    changedSince_ = 0;
    lastLook_ = now;
    writer_.Queue(changed_.Take(model_));
  }
}

void AutoSave::Stop() {
  if (window_ != nullptr) {
    KillTimer(window_, kTimerAutoSave);
  }
  writer_.Stop();
  TakeOutcomes(GetTickCount64());
}

void AutoSave::Resume(const std::vector<std::u16string>& unwritten) {
  writer_.Resume();
  for (const std::u16string& path : unwritten) {
    failing_.Failed(path, GetTickCount64());
  }
  // What the writes at the close left unwritten is found again by its content.
  changed_.ForgetAll();
  if (window_ != nullptr) {
    SetTimer(window_, kTimerAutoSave, kTickMs, nullptr);
  }
}

std::optional<std::u16string> AutoSave::TakeNotice() {
  if (notices_.empty()) {
    return std::nullopt;
  }
  std::u16string notice = std::move(notices_.front());
  notices_.pop_front();
  return notice;
}

}  // namespace pellix::win32
