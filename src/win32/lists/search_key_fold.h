#pragma once
// The search keys of a long list, folded on a thread of its own: at a million items folding
// takes a good part of a second, and the window must go on answering (the user goes on typing)
// meanwhile. When the keys are done, the thread posts a message; the keys join the store then,
// unless the items changed in the meantime, and a new fold starts from the items as they are.

#include <windows.h>

#include <cstddef>
#include <vector>

#include "core/app/background_task.h"
#include "core/lists/item_list.h"
#include "core/lists/list_store.h"

namespace pellix::win32 {

class SearchKeyFold {
 public:
  // `done` is posted to `window` whenever a fold is done.
  void Create(HWND window, UINT done) {
    window_ = window;
    doneMessage_ = done;
  }

  // Folds the keys of ordinary list `slot` unless they are being folded already. A fold of
  // another list goes on: waiting for it here would hold the window up.
  void Start(const lists::ListStore& store, std::size_t slot);
  // The posted message: the keys of every fold done join the store when its items are still the
  // ones folded. Returns whether any did.
  bool TakeIn(lists::ListStore& store);

 private:
  struct Fold {
    std::size_t slot;
    lists::ItemList::Snapshot items;
    app::BackgroundTask<lists::ItemList> task;
  };

  HWND window_ = nullptr;
  UINT doneMessage_ = 0;
  std::vector<Fold> folds_;
};

}  // namespace pellix::win32
