#pragma once
// The Unicode list's own commands. The list lock does not apply to them and none asks first.
// Each removal is remembered, so the list's file is written at the end even when the list is
// now empty.

#include "core/lists/list_store.h"
#include "core/lists/view_state.h"

namespace pellix::lists {

// 削除: removes the selected items and selects the item now at the caret's place, or the last
// one. Nothing happens when nothing is selected.
EditResult wdelact(ListStore& store, const ViewState& view);

// 後ろ半分をクリア: of n items keeps the first n div 2, the newest; the last remaining item
// joins the selection and becomes current.
EditResult wclearhact(ListStore& store, const ViewState& view);

// 全てクリア: removes every item.
EditResult wclearact(ListStore& store, const ViewState& view);

}  // namespace pellix::lists
