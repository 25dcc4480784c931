#pragma once
// Names a list of items for the operations that work on an ordinary list and on the Unicode
// list alike.

#include <cstddef>

namespace pellix::lists {

struct ListId {
  static constexpr ListId Ansi(std::size_t slot) { return ListId{slot, false}; }
  static constexpr ListId Unicode() { return ListId{0, true}; }

  std::size_t slot = 0;  // an ordinary list's index in the store; 0 for the Unicode list
  bool unicode = false;

  friend bool operator==(const ListId&, const ListId&) = default;
};

struct ItemPlace {
  ListId list;
  std::size_t index = 0;

  friend bool operator==(const ItemPlace&, const ItemPlace&) = default;
};

}  // namespace pellix::lists
