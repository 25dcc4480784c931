#include "core/lists/unicode_commands.h"

#include "core/lists/common_edits.h"

namespace pellix::lists {
namespace {

ViewState ViewOf(const ListStore& store, const ViewState& view) {
  return Normalized(view, store.ItemCount(ListId::Unicode()));
}

}  // namespace

EditResult wdelact(ListStore& store, const ViewState& view) {
  const ViewState before = ViewOf(store, view);
  if (before.selected.empty()) {
    return EditResult{false, before};
  }
  // A list with a selection has a caret; should the view report none, the first selected item
  // stands in for it.
  const std::size_t anchor = before.caret.value_or(before.selected.front());
  return RemoveSelected(store, ListId::Unicode(), before, anchor);
}

EditResult wclearhact(ListStore& store, const ViewState& view) {
  return KeepFrontHalf(store, ListId::Unicode(), ViewOf(store, view));
}

EditResult wclearact(ListStore& store, const ViewState& view) {
  const ViewState before = ViewOf(store, view);
  if (store.ItemCount(ListId::Unicode()) == 0) {
    return EditResult{false, before};
  }
  store.KeepFirst(ListId::Unicode(), 0);
  return EditResult{true, EmptyView()};
}

}  // namespace pellix::lists
