#include "core/lists/list_commands.h"

#include <algorithm>

#include "core/lists/common_edits.h"
#include "core/text/codec.h"

namespace pellix::lists {
namespace {

ViewState ViewOf(const ListStore& store, std::size_t list, const ViewState& view) {
  return Normalized(view, store.ItemCount(ListId::Ansi(list)));
}

bool IsSelected(const ViewState& view, std::size_t index) {
  return std::binary_search(view.selected.begin(), view.selected.end(), index);
}

// The current item `from` and its neighbour `to` changed places: the moved item is selected
// and current, the neighbour keeps its own selected state at its new place.
EditResult Exchanged(ListStore& store, std::size_t list, const ViewState& view, std::size_t from,
                     std::size_t to) {
  store.SwapItems(ListId::Ansi(list), from, to);
  ViewState after = view;
  const bool neighbourSelected = IsSelected(view, to);
  std::erase_if(after.selected, [&](std::size_t index) { return index == from || index == to; });
  after.selected.push_back(to);
  if (neighbourSelected) {
    after.selected.push_back(from);
  }
  std::sort(after.selected.begin(), after.selected.end());
  after.caret = to;
  return EditResult{true, after};
}

}  // namespace

EditResult dellistitem(ListStore& store, std::size_t list, const ViewState& view, bool locked) {
  const ViewState before = ViewOf(store, list, view);
  if (locked || !before.caret || IsUnicodeSlot(store, list)) {
    return EditResult{false, before};
  }
  return RemoveSelected(store, ListId::Ansi(list), before, *before.caret);
}

EditResult clearlistitem(ListStore& store, std::size_t list, const ViewState& view, bool locked) {
  const ViewState before = ViewOf(store, list, view);
  if (locked || IsUnicodeSlot(store, list)) {
    return EditResult{false, before};
  }
  const bool changed = store.ItemCount(ListId::Ansi(list)) > 0;
  store.KeepFirst(ListId::Ansi(list), 0);
  return EditResult{changed, EmptyView()};
}

EditResult crearh(ListStore& store, std::size_t list, const ViewState& view) {
  const ViewState before = ViewOf(store, list, view);
  if (IsUnicodeSlot(store, list)) {
    return EditResult{false, before};
  }
  return KeepFrontHalf(store, ListId::Ansi(list), before);
}

EditResult itemup(ListStore& store, std::size_t list, const ViewState& view) {
  const ViewState before = ViewOf(store, list, view);
  if (!before.caret || *before.caret == 0 || IsUnicodeSlot(store, list)) {
    return EditResult{false, before};
  }
  return Exchanged(store, list, before, *before.caret, *before.caret - 1);
}

EditResult itemdown(ListStore& store, std::size_t list, const ViewState& view) {
  const ViewState before = ViewOf(store, list, view);
  const std::size_t count = store.ItemCount(ListId::Ansi(list));
  if (!before.caret || *before.caret + 1 >= count || IsUnicodeSlot(store, list)) {
    return EditResult{false, before};
  }
  return Exchanged(store, list, before, *before.caret, *before.caret + 1);
}

EditResult DragWithinList(ListStore& store, std::size_t list, const ViewState& view,
                          std::optional<std::size_t> dragIndex,
                          std::optional<std::size_t> dropIndex) {
  const ViewState before = ViewOf(store, list, view);
  const std::size_t count = store.ItemCount(ListId::Ansi(list));
  if (!dragIndex || !dropIndex || *dragIndex == *dropIndex || *dragIndex >= count ||
      *dropIndex >= count || IsUnicodeSlot(store, list)) {
    return EditResult{false, before};
  }
  const std::size_t s = *dragIndex;
  std::size_t t = *dropIndex;
  if (t == s + 1) {
    store.SwapItems(ListId::Ansi(list), s, t);
  } else {
    if (t > s) {
      --t;
    }
    store.MoveItem(ListId::Ansi(list), s, t);
  }
  return EditResult{true, ViewState{{t}, t, before.top}};
}

EditResult MoveToList(ListStore& store, std::size_t list, const ViewState& view,
                      std::optional<std::size_t> dragIndex, std::size_t target,
                      const text::TextServices& services) {
  const ViewState before = ViewOf(store, list, view);
  const std::size_t count = store.ItemCount(ListId::Ansi(list));
  if (!dragIndex || *dragIndex >= count || target == list || target >= store.Count() ||
      IsUnicodeSlot(store, list)) {
    return EditResult{false, before};
  }
  const std::size_t s = *dragIndex;
  if (IsUnicodeSlot(store, target)) {
    // The slot's own items are never shown or saved: the text goes where the user sees it.
    store.MoveToUnicodeTop(list, s, text::Cp932ToUtf16(services, store.Slot(list).items[s]));
  } else {
    store.MoveToTop(list, s, target);
  }
  if (count == 1) {
    return EditResult{true, EmptyView()};
  }
  const std::size_t at = std::min(s, count - 2);
  return EditResult{true, OnlySelected(at, TopAfterRemoval(before.top, {s}, count - 1), count - 1)};
}

}  // namespace pellix::lists
