#pragma once
// Saves changed lists and settings in the background a moment after a change, so that a crash,
// a kill or a power cut loses at most the last seconds, never the day. The files are formatted
// on the window's thread (a list of 100,000 items takes milliseconds) and written by the
// background writer, atomically, as at exit.

#include <windows.h>

#include <cstdint>

#include "core/app/background_writer.h"
#include "core/app/changed_files.h"
#include "core/app/model.h"

namespace pellix::win32 {

class AutoSave {
 public:
  AutoSave(const app::Model& model, const io::AppFolder& folder, app::BackgroundWriter& writer)
      : model_(model), changed_(folder), writer_(writer) {}

  // Counts what was just loaded as saved and starts watching for changes.
  void Start(HWND window);
  bool OnTimer(UINT_PTR id);
  // No more background writes: the write under way ends, the rest is left to the caller, who
  // saves everything at once.
  void Stop();

 private:
  const app::Model& model_;
  app::ChangedFiles changed_;
  app::BackgroundWriter& writer_;
  HWND window_ = nullptr;
  std::uint64_t takenRevision_ = 0;
  ULONGLONG changedSince_ = 0;  // tick of the first change not yet handed out; 0: none
  ULONGLONG lastLook_ = 0;
};

}  // namespace pellix::win32
