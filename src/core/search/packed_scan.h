#pragma once
// The search of an ordinary list along its folded keys as the list keeps them, packed in chunks:
// one word is looked for along a whole chunk's bytes, and only the items it turns up in are
// tested whole.

#include <cstddef>
#include <vector>

#include "core/lists/item_list.h"
#include "core/search/search_query.h"

namespace pellix::search {

// The items whose key in `keys` (FoldCp932) `query` matches, ascending; every item without words.
std::vector<std::size_t> ScanPackedKeys(const lists::ItemList& keys, const SearchQuery& query);

}  // namespace pellix::search
