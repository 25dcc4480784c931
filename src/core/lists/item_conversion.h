#pragma once
// The list menu's four conversions of the focused item.

#include "core/lists/list_store.h"
#include "core/text/text_services.h"

namespace pellix::lists {

enum class ItemConversion { kFullToHalfWidth, kToFullWidth, kToLowerCase, kToUpperCase };

// Converts item `focusIndex` of list `list` in place. Returns false, changing nothing, when no
// item has the focus (-1) or the index is outside the list.
bool ConvertFocusedItem(ListStore& store, std::size_t list, int focusIndex,
                        ItemConversion conversion, const text::TextServices& services);

}  // namespace pellix::lists
