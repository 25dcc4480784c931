#include "win32/app/auto_save.h"

namespace pellix::win32 {
namespace {

constexpr UINT_PTR kTimerAutoSave = 4;
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
  const ULONGLONG now = GetTickCount64();
  bool retry = false;
  for (const app::BackgroundWriter::Failure& failure : writer_.TakeFailures()) {
    // Written again with the next look; the end of the program reports what still fails.
    changed_.Forget(failure.path);
    retry = true;
  }
  if (model_.lists.Revision() != takenRevision_ || retry) {
    changedSince_ = changedSince_ != 0 ? changedSince_ : now;
  }
  const bool listsDue = changedSince_ != 0 && now - changedSince_ >= kDelayMs;
  if (listsDue || now - lastLook_ >= kSettingsLookMs) {
    takenRevision_ = model_.lists.Revision();
    changedSince_ = 0;
    lastLook_ = now;
    writer_.Queue(changed_.Take(model_));
  }
  return true;
}

void AutoSave::Stop() {
  if (window_ != nullptr) {
    KillTimer(window_, kTimerAutoSave);
  }
  writer_.Stop();
}

}  // namespace pellix::win32
