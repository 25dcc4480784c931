#include "core/lists/common_edits.h"

#include <algorithm>

namespace pellix::lists {

EditResult RemoveSelected(ListStore& store, ListId list, const ViewState& view,
                          std::size_t anchor) {
  store.RemoveItems(list, view.selected);
  const std::size_t count = store.ItemCount(list);
  const bool changed = !view.selected.empty();
  if (count == 0) {
    return EditResult{changed, EmptyView()};
  }
  const std::size_t at = std::min(anchor, count - 1);
  return EditResult{changed,
                    OnlySelected(at, TopAfterRemoval(view.top, view.selected, count), count)};
}

EditResult KeepFrontHalf(ListStore& store, ListId list, const ViewState& view) {
  const std::size_t count = store.ItemCount(list);
  if (count == 0) {
    return EditResult{false, view};
  }
  const std::size_t keep = count / 2;
  store.KeepFirst(list, keep);
  if (keep == 0) {
    return EditResult{true, EmptyView()};
  }
  const std::size_t last = keep - 1;
  ViewState after{{}, last, std::min(view.top, last)};
  for (const std::size_t index : view.selected) {
    if (index < last) {
      after.selected.push_back(index);
    }
  }
  after.selected.push_back(last);
  return EditResult{true, after};
}

bool IsUnicodeSlot(const ListStore& store, std::size_t list) {
  return IsUnicodeListName(store.Slot(list).name);
}

}  // namespace pellix::lists
