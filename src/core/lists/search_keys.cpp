#include "core/lists/search_keys.h"

namespace pellix::lists {

ItemList FoldedKeys(const ItemList::Snapshot& items) {
  ItemList keys;
  items.ForEach([&keys](std::string_view item) { keys.Append(text::FoldCp932(item)); });
  return keys;
}

}  // namespace pellix::lists
