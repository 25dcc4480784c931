#pragma once
// Lines read from a file, put into the shown list where its focus mark stands. The list lock
// does not apply: nothing is removed.

#include "core/lists/list_store.h"
#include "core/lists/view_state.h"

namespace pellix::lists {

// Inserts `lines` into ordinary list `list` in file order, the first at the view's caret (the
// top when there is none), the items from there on moving down. Afterwards the inserted lines
// are the selection, so one Del takes back an import gone wrong, and the caret is on the first
// of them; the topmost visible item stays where it was. Nothing happens for no lines.
EditResult InsertLines(ListStore& store, std::size_t list, const ViewState& view, Items lines);

// The same for the Unicode list and its view.
EditResult InsertUnicodeLines(ListStore& store, const ViewState& view, WideItems lines);

}  // namespace pellix::lists
