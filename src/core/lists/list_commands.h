#pragma once
// The ordinary list's editing commands, each on one list of the store (the one the ANSI view
// shows; see EditableList) and the view's state. None of them acts on the slot named "unicode",
// whose own items are never shown, and each stops silently when it has nothing to do.

#include <cstddef>
#include <optional>

#include "core/lists/list_store.h"
#include "core/lists/view_state.h"
#include "core/text/text_services.h"

namespace pellix::lists {

// 削除: removes the selected items and selects the item now at the caret's place (the last one
// when that is past the end). With nothing selected it only selects the current item. Does
// nothing while `locked` or without a current item.
EditResult dellistitem(ListStore& store, std::size_t list, const ViewState& view, bool locked);

// クリアー: removes every item unless `locked`. Unless locked, the caller also clears `lastText`
// (an empty list too), so that the text captured last is captured again when copied again.
EditResult clearlistitem(ListStore& store, std::size_t list, const ViewState& view, bool locked);

// 後ろ半分をクリア: of n items keeps the first n div 2; the last remaining item joins the
// selection and becomes current. The lock does not apply.
EditResult crearh(ListStore& store, std::size_t list, const ViewState& view);

// 上へ移動 and 下へ移動: the current item changes places with its neighbour and stays current
// and selected. Only the current item moves; the neighbour keeps its own selected state.
EditResult itemup(ListStore& store, std::size_t list, const ViewState& view);
EditResult itemdown(ListStore& store, std::size_t list, const ViewState& view);

// A drag within the list: item `dragIndex` dropped on item `dropIndex`. Dropped on the item
// right below it, it changes places with that one (it ends below it); otherwise it ends above
// the item it was dropped on. Only the pressed item moves. Afterwards it is the only selected
// item and current; the caret is also the new `dragIndex`.
EditResult DragWithinList(ListStore& store, std::size_t list, const ViewState& view,
                          std::optional<std::size_t> dragIndex,
                          std::optional<std::size_t> dropIndex);

// Moves item `dragIndex` to the top of list `target`, as a capture would put it there; onto the
// Unicode list it goes as UTF-16 converted from code page 932. Nothing happens when `target` is
// this list. Afterwards only the item now at the pressed place (or the last one) is selected.
EditResult MoveToList(ListStore& store, std::size_t list, const ViewState& view,
                      std::optional<std::size_t> dragIndex, std::size_t target,
                      const text::TextServices& services);

}  // namespace pellix::lists
