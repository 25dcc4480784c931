#pragma once
// An item as a merge of list versions sees it: the hash of its text and its length. A version of
// a list this instance no longer holds is kept as its items' keys, a small part of its texts.

#include <algorithm>
#include <compare>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/sync/content_hash.h"

namespace pellix::sync {

struct ItemKey {
  std::uint64_t hash = 0;
  std::uint64_t length = 0;  // in the text's own units

  friend auto operator<=>(const ItemKey&, const ItemKey&) = default;
};

template <typename Text>
ItemKey KeyOf(const Text& text) {
  return ItemKey{HashText(std::basic_string_view(text.data(), text.size())), text.size()};
}

// Every item's key, in the list's order.
template <typename Items>
std::vector<ItemKey> KeysInOrder(const Items& items) {
  std::vector<ItemKey> keys;
  keys.reserve(items.size());
  for (const auto& item : items) {
    keys.push_back(KeyOf(item));
  }
  return keys;
}

// Every item's key, sorted: a list's items as a multiset.
template <typename Items>
std::vector<ItemKey> SortedKeys(const Items& items) {
  std::vector<ItemKey> keys;
  keys.reserve(items.size());
  for (const auto& item : items) {
    keys.push_back(KeyOf(item));
  }
  std::sort(keys.begin(), keys.end());
  return keys;
}

// The keys of `before` that `after` holds fewer times, each as often as it lost it (both sorted).
std::vector<ItemKey> KeysLost(const std::vector<ItemKey>& before,
                              const std::vector<ItemKey>& after);

}  // namespace pellix::sync
