#pragma once
// The large lists read while the program already runs. Each joins the store when its thread is
// done (it posts a message); a list the user picks, the filter dialogs and the last saves wait
// for the reads they need. Until its read is in, the list shown says so in the window's title.

#include <windows.h>

#include <optional>
#include <vector>

#include "core/app/model.h"
#include "core/app/startup.h"
#include "win32/lists/list_pane.h"
#include "win32/ui/error_reporter.h"

namespace pellix::win32 {

class ListReads {
 public:
  ListReads(app::Model& model, ListPane& lists, ErrorSink& errors)
      : model_(model), lists_(lists), errors_(errors) {}

  void Start(HWND window, std::vector<app::ListRead> reads);
  // The reads begin, one thread each at a low priority: the window showed, and must still
  // answer at once while they run.
  void Begin();
  // The message a read posts when it is done: every read done joins the store.
  void OnRead();
  // Waits for the read of list `slot` and takes it in, when it is being read.
  void Finish(std::size_t slot);
  void FinishAll();

 private:
  void TakeIn(app::ListRead& read);
  void ShowTitle();

  app::Model& model_;
  ListPane& lists_;
  ErrorSink& errors_;
  HWND window_ = nullptr;
  std::vector<app::ListRead> reads_;
};

}  // namespace pellix::win32
