#include "win32/lists/search_key_fold.h"

#include <algorithm>
#include <utility>

#include "core/lists/search_keys.h"

namespace pellix::win32 {

void SearchKeyFold::Start(const lists::ListStore& store, std::size_t slot) {
  if (std::any_of(folds_.begin(), folds_.end(),
                  [slot](const Fold& fold) { return fold.slot == slot; })) {
    return;
  }
  const lists::ItemList::Snapshot items = store.Slot(slot).items.Take();
  folds_.push_back(Fold{
      slot, items,
      app::BackgroundTask<lists::ItemList>(
          [items] { return lists::FoldedKeys(items); },
          [window = window_, message = doneMessage_] { PostMessageW(window, message, 0, 0); })});
  folds_.back().task.Start(
      [] { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); });
}

bool SearchKeyFold::TakeIn(lists::ListStore& store) {
  bool kept = false;
  for (auto fold = folds_.begin(); fold != folds_.end();) {
    if (fold->task.Ready()) {
      kept = store.KeepSearchKeys(fold->slot, fold->items, fold->task.Take()) || kept;
      fold = folds_.erase(fold);
    } else {
      ++fold;
    }
  }
  return kept;
}

}  // namespace pellix::win32
