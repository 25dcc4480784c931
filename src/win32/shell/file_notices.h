#pragma once
// The messages about the program's files (a list read only in part, the place unsaved work was
// kept at the last session's end, a save that failed), each shown in a box of its own once the
// handler that found it has returned, so that no box opens inside a capture or a timer.

#include <windows.h>

#include <string>
#include <vector>

#include "core/lists/list_store.h"
#include "win32/shell/auto_save.h"
#include "win32/ui/modal_loops.h"

namespace pellix::win32 {

class FileNotices {
 public:
  FileNotices(ModalLoops& loops, AutoSave& autoSave) : loops_(loops), autoSave_(autoSave) {}

  void Attach(HWND window) { window_ = window; }
  void Queue(std::u16string notice);
  // The lists the store could read only up to a damaged part, and where their files were kept.
  void QueuePartlyRead(lists::ListStore& store);
  // The posted message arrived: the next notice is shown, the background saves' first.
  void ShowNext();

 private:
  ModalLoops& loops_;
  AutoSave& autoSave_;
  HWND window_ = nullptr;
  std::vector<std::u16string> notices_;
};

}  // namespace pellix::win32
