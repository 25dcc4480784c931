#include "win32/shell/list_reads.h"

#include <algorithm>

#include "win32/ui/error_reporter.h"

namespace pellix::win32 {

void ListReads::Start(HWND window, std::vector<app::ListRead> reads) {
  window_ = window;
  reads_ = std::move(reads);
  ShowTitle();
}

void ListReads::Begin() {
  for (app::ListRead& read : reads_) {
    read.Start([] { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); });
  }
}

void ListReads::OnRead() {
  for (auto read = reads_.begin(); read != reads_.end();) {
    if (read->Ready()) {
      app::ListRead done = std::move(*read);
      read = reads_.erase(read);
      TakeIn(done);
    } else {
      ++read;
    }
  }
  ShowTitle();
}

void ListReads::Finish(std::size_t slot) {
  const auto read = std::find_if(reads_.begin(), reads_.end(),
                                 [slot](const app::ListRead& each) { return each.Slot() == slot; });
  if (read == reads_.end()) {
    return;
  }
  app::ListRead waited = std::move(*read);
  reads_.erase(read);
  TakeIn(waited);
  ShowTitle();
}

void ListReads::FinishAll() {
  std::vector<app::ListRead> all = std::move(reads_);
  reads_.clear();
  for (app::ListRead& read : all) {
    TakeIn(read);
  }
  ShowTitle();
}

void ListReads::TakeIn(app::ListRead& read) {
  const std::size_t slot = read.Slot();
  try {
    model_.lists.CompleteLoad(slot, read.Take());
  } catch (...) {
    // The list stays as it is, never written over its file, which is left for the user to mend.
    errors_.Report(std::current_exception());
    return;
  }
  if (model_.lists.Current() != slot) {
    return;
  }
  // The list shown: its items show now, as at a start, the first one current.
  lists_.SwitchList(slot);
  const lists::ItemList& items = model_.lists.Slot(slot).items;
  if (model_.lastText.empty() && !items.empty()) {
    model_.lastText = std::string(items.front());
  }
}

void ListReads::ShowTitle() {
  const std::optional<std::size_t> current = model_.lists.Current();
  const bool reading = current && model_.lists.Loading(*current);
  SetWindowTextW(window_, reading ? L"ぺりくす T&K - 読み込み中…" : kAppTitle);
}

}  // namespace pellix::win32
