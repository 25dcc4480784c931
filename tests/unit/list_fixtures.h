#pragma once
// Stores made in memory for the list command tests.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/lists/list_store.h"
#include "core/lists/view_state.h"

namespace pellix::lists {

// Failures name the views in words.
inline void PrintTo(const ViewState& view, std::ostream* out) {
  *out << "selected " << testing::PrintToString(view.selected) << " caret "
       << (view.caret ? std::to_string(*view.caret) : "none") << " top " << view.top;
}
inline void PrintTo(const EditResult& result, std::ostream* out) {
  *out << (result.changed ? "changed, " : "unchanged, ");
  PrintTo(result.view, out);
}

}  // namespace pellix::lists

namespace pellix::lists::testing_support {

inline constexpr std::size_t kListA = 0;
inline constexpr std::size_t kListB = 1;
inline constexpr std::size_t kUnicodeSlot = 2;

// The lists "a", "b" and "unicode", with "a" shown.
inline ListStore MakeStore(Items a, Items b = {}, WideItems unicode = {}) {
  ListStore store;
  store.AddSlot(ListSlot{"a", std::move(a), {}});
  store.AddSlot(ListSlot{"b", std::move(b), {}});
  store.AddSlot(ListSlot{"unicode", {}, {}});
  store.SetUnicodeItems(std::move(unicode));
  store.SwitchList(kListA);
  return store;
}

// "i0", "i1", ... so that every item says where it started.
inline Items Numbered(std::size_t count) {
  Items items;
  for (std::size_t i = 0; i < count; ++i) {
    items.push_back("i" + std::to_string(i));
  }
  return items;
}

inline ViewState View(std::vector<std::size_t> selected, std::optional<std::size_t> caret,
                      std::size_t top = 0) {
  return ViewState{std::move(selected), caret, top};
}

}  // namespace pellix::lists::testing_support
