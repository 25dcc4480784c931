#include "core/lists/view_state.h"

#include <algorithm>

namespace pellix::lists {
namespace {

std::size_t ClampTop(std::size_t top, std::size_t count) {
  return count == 0 ? 0 : std::min(top, count - 1);
}

}  // namespace

ViewState Normalized(ViewState view, std::size_t count) {
  std::vector<std::size_t>& selected = view.selected;
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  selected.erase(std::lower_bound(selected.begin(), selected.end(), count), selected.end());
  if (view.caret && *view.caret >= count) {
    view.caret.reset();
  }
  view.top = ClampTop(view.top, count);
  return view;
}

ViewState OnlySelected(std::size_t index, std::size_t top, std::size_t count) {
  return ViewState{{index}, index, ClampTop(top, count)};
}

std::size_t TopAfterRemoval(std::size_t top, const std::vector<std::size_t>& removed,
                            std::size_t count) {
  const auto above = std::lower_bound(removed.begin(), removed.end(), top) - removed.begin();
  return ClampTop(top - static_cast<std::size_t>(above), count);
}

ViewState AfterTakeIn(const ViewState& before, const std::vector<std::size_t>& removed,
                      std::size_t inserted, std::size_t count) {
  const auto gone = [&removed](std::size_t item) {
    return std::binary_search(removed.begin(), removed.end(), item);
  };
  // Where a remaining item is now.
  const auto moved = [&](std::size_t item) {
    const auto above = std::lower_bound(removed.begin(), removed.end(), item) - removed.begin();
    return item - static_cast<std::size_t>(above) + inserted;
  };
  ViewState after;
  for (const std::size_t item : before.selected) {
    if (!gone(item)) {
      after.selected.push_back(moved(item));
    }
  }
  const std::size_t earlierCount = count - inserted + removed.size();
  if (before.caret && *before.caret < earlierCount) {
    // A current item that went hands the mark to the next remaining one, or the last.
    std::size_t caret = *before.caret;
    while (caret + 1 < earlierCount && gone(caret)) {
      ++caret;
    }
    while (caret > 0 && gone(caret)) {
      --caret;
    }
    if (!gone(caret)) {
      after.caret = moved(caret);
    }
  }
  after.top =
      before.top == 0 ? 0 : TopAfterRemoval(before.top, removed, count - inserted) + inserted;
  return Normalized(std::move(after), count);
}

std::optional<std::size_t> EditableList(const ListStore& store) {
  const std::optional<std::size_t> current = store.Current();
  if (!current || IsUnicodeListName(store.Slot(*current).name)) {
    return std::nullopt;
  }
  return current;
}

}  // namespace pellix::lists
