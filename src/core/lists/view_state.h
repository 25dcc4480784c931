#pragma once
// What a list view shows of its items, as the list commands read it and hand it back: the view
// reads its selection, caret and top item, calls the command and shows what it returns.

#include <cstddef>
#include <optional>
#include <vector>

#include "core/lists/list_store.h"

namespace pellix::lists {

struct ViewState {
  std::vector<std::size_t> selected;  // ascending, each once
  std::optional<std::size_t> caret;   // the item with the focus mark
  std::size_t top = 0;                // the topmost visible item

  friend bool operator==(const ViewState&, const ViewState&) = default;
};

// What a command did. The view takes the list's new count when the items changed, then sets
// the top item, the selection and the caret, and scrolls the caret into view if it is not.
// The view is to be applied even when no item changed: some commands only select.
struct EditResult {
  bool changed = false;
  ViewState view;

  friend bool operator==(const EditResult&, const EditResult&) = default;
};

// A control's index (-1 for none) as the commands take it.
constexpr std::optional<std::size_t> IndexFrom(int index) {
  return index < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(index));
}

// `view` made safe for a list of `count` items: indices sorted, each once and inside the list; a
// caret outside the list is none, and the top is inside the list (0 when it is empty).
ViewState Normalized(ViewState view, std::size_t count);

// A view of `count` items with only `index` selected and current, topmost item `top`.
ViewState OnlySelected(std::size_t index, std::size_t top, std::size_t count);

// The view of an empty list.
inline ViewState EmptyView() {
  return ViewState{};
}

// The top item after the items `removed` (ascending) were taken out, leaving `count`: the item
// that was topmost stays topmost; when it went, the next remaining one is.
std::size_t TopAfterRemoval(std::size_t top, const std::vector<std::size_t>& removed,
                            std::size_t count);

// The view after another instance's change was taken in: the items `removed` (ascending, as
// numbered before) went and `inserted` new ones came in on top, leaving `count`. What was
// selected stays selected and the current item current (the next one stays when it went); the
// topmost item stays topmost, unless the view was at the very top, where it shows what came in.
ViewState AfterTakeIn(const ViewState& before, const std::vector<std::size_t>& removed,
                      std::size_t inserted, std::size_t count);

// The ordinary list the list commands act on: the current list, unless that is the Unicode list
// or there is none.
std::optional<std::size_t> EditableList(const ListStore& store);

}  // namespace pellix::lists
