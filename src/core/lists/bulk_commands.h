#pragma once
// The ordinary list's commands that rewrite many items at once: 展開, ソート and
// 部分文字列の一括置換. Like the other list commands they act on one list and leave the slot
// "unicode" alone.

#include <cstddef>
#include <string_view>

#include "core/lists/list_store.h"
#include "core/lists/view_state.h"
#include "core/text/text_services.h"

namespace pellix::lists {

// 展開: every selected item is split into its lines (at CR LF, CR or LF; a break at the very end
// adds no line), the first line in the item's place. An empty item stays. The lines of a split
// item are selected in its stead; the caret and the top item stay on their items (on the first
// line of a split one).
EditResult aexpand(ListStore& store, std::size_t list, const ViewState& view);

// ソート: the whole list in the user locale's case-sensitive order, whatever is selected. The
// view shows the list anew: nothing selected, the first item current and topmost.
EditResult asort(ListStore& store, std::size_t list, const ViewState& view,
                 const text::TextServices& services);

// 部分文字列の一括置換: in every item, every occurrence of `search` that starts on a character
// boundary is replaced by `replacement`, left to right, never looking into what a replacement
// put in; an empty replacement deletes. An empty search does nothing; a search holding a
// character that code page 932 cannot hold finds nothing. The view shows the list anew, as
// after a sort.
EditResult aplace(ListStore& store, std::size_t list, const ViewState& view,
                  std::u16string_view search, std::u16string_view replacement,
                  const text::TextServices& services);

}  // namespace pellix::lists
