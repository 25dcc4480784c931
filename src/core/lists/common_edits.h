#pragma once
// Steps that the ordinary list and the Unicode list share: the removal of the selected items
// and the removal of the back half.

#include "core/lists/list_id.h"
#include "core/lists/list_store.h"
#include "core/lists/view_state.h"

namespace pellix::lists {

// Removes the selected items of `view` (normalized) and selects the item now at `anchor`, or
// the last one when `anchor` is past the end.
EditResult RemoveSelected(ListStore& store, ListId list, const ViewState& view, std::size_t anchor);

// Keeps the first n div 2 of the n items, the newest ones, and adds the last of them to the
// selection as the current item. Nothing happens to an empty list.
EditResult KeepFrontHalf(ListStore& store, ListId list, const ViewState& view);

// True for the slot whose own items are never shown: the list commands leave it alone.
bool IsUnicodeSlot(const ListStore& store, std::size_t list);

}  // namespace pellix::lists
