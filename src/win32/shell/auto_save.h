#pragma once
// Saves changed lists and settings in the background a moment after a change, so that a crash,
// a kill or a power cut loses at most the last seconds, never the day. The ordinary lists are
// formatted on the window's thread (a list of 100,000 items takes milliseconds), the Unicode
// list from a snapshot on the writer's; the background writer writes them atomically, as at
// exit. A file that cannot be written is told once, tried again less and less often, and at
// once when it changes again.

#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/background_writer.h"
#include "core/app/changed_files.h"
#include "core/app/failing_saves.h"
#include "core/app/model.h"

namespace pellix::win32 {

class AutoSave {
 public:
  // `noticeMessage` is posted to the window when a failure is to be told; the window shows
  // TakeNotice() once the handler that found it has returned.
  AutoSave(const app::Model& model, const io::AppFolder& folder, const sync::SharedFiles& shared,
           app::BackgroundWriter& writer, UINT noticeMessage)
      : model_(model), changed_(folder, &shared), writer_(writer), noticeMessage_(noticeMessage) {}

  // Every write's outcome goes here first (the folder shared with other instances takes in
  // what a list's write made of its file, and what another instance changed).
  void OnOutcome(std::function<void(const app::WriteOutcome&)> sink) { sink_ = std::move(sink); }
  app::ChangedFiles& Changed() { return changed_; }

  // Counts what was just loaded as saved and starts watching for changes.
  void Start(HWND window);
  bool OnTimer(UINT_PTR id);
  // No more background writes: the write under way ends, its outcome is taken in, the rest is
  // left to the caller, who saves everything at once. Resume takes them up again (a close the
  // user called off).
  void Stop();
  // `unwritten` failed at the close: they count as failing, already told.
  void Resume(const std::vector<std::u16string>& unwritten);

  std::optional<std::u16string> TakeNotice();

 private:
  void Look(ULONGLONG now);
  void TakeOutcomes(ULONGLONG now);

  const app::Model& model_;
  app::ChangedFiles changed_;
  app::BackgroundWriter& writer_;
  app::FailingSaves failing_;
  UINT noticeMessage_;
  std::deque<std::u16string> notices_;
  std::function<void(const app::WriteOutcome&)> sink_;
  HWND window_ = nullptr;
  std::uint64_t takenRevision_ = 0;
  ULONGLONG changedSince_ = 0;  // tick of the first change not yet handed out; 0: none
  ULONGLONG lastLook_ = 0;
};

}  // namespace pellix::win32
