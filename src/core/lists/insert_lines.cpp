#include "core/lists/insert_lines.h"

#include <numeric>

namespace pellix::lists {
namespace {

template <typename Insert>
EditResult InsertAtCaret(ListStore& store, ListId list, const ViewState& view,
                         std::size_t lineCount, Insert&& insert) {
  const ViewState before = Normalized(view, store.ItemCount(list));
  if (lineCount == 0) {
    return EditResult{false, before};
  }
  const std::size_t at = before.caret.value_or(0);
  insert(at);
  ViewState after;
  after.selected.resize(lineCount);
  std::iota(after.selected.begin(), after.selected.end(), at);
  after.caret = at;
  after.top = before.top;
  return EditResult{true, Normalized(std::move(after), store.ItemCount(list))};
}

}  // namespace

EditResult InsertLines(ListStore& store, std::size_t list, const ViewState& view, Items lines) {
  const std::size_t count = lines.size();
  return InsertAtCaret(store, ListId::Ansi(list), view, count,
                       [&](std::size_t at) { store.InsertItems(list, at, std::move(lines)); });
}

EditResult InsertUnicodeLines(ListStore& store, const ViewState& view, WideItems lines) {
  const std::size_t count = lines.size();
  return InsertAtCaret(store, ListId::Unicode(), view, count,
                       [&](std::size_t at) { store.InsertUnicodeItems(at, std::move(lines)); });
}

}  // namespace pellix::lists
