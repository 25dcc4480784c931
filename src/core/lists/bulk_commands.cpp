#include "core/lists/bulk_commands.h"

#include <algorithm>
#include <cstdint>

#include "core/filters/conversion.h"
#include "core/lists/common_edits.h"
#include "core/text/codec.h"

namespace pellix::lists {
namespace {

// What the view shows after its items were replaced by a new copy of the list.
ViewState Reloaded(std::size_t count) {
  return count == 0 ? EmptyView() : ViewState{{}, 0, 0};
}

// Where item `index` went once the splits at `splitIndices` (ascending) added their lines;
// `shiftBefore[k]` counts the lines added before split k.
std::size_t IndexAfterSplits(std::size_t index, const std::vector<std::size_t>& splitIndices,
                             const std::vector<std::size_t>& shiftBefore) {
  const auto at = std::lower_bound(splitIndices.begin(), splitIndices.end(), index);
  return index + shiftBefore[static_cast<std::size_t>(at - splitIndices.begin())];
}

// The first 8 bytes of a sort key as a number, zeros after a shorter key: a shorter key that
// matches the start of a longer one is smaller either way, so a difference here never
// contradicts the keys' own order.
std::uint64_t KeyPrefix(std::string_view key) {
  std::uint64_t prefix = 0;
  for (std::size_t k = 0; k < 8; ++k) {
    prefix = prefix << 8 | (k < key.size() ? static_cast<unsigned char>(key[k]) : 0u);
  }
  return prefix;
}

// The lines of an item, split at CR LF, CR and LF; a break at the very end adds no line. Unlike
// the file reader's splitting this never stops at a zero byte, so no text is lost.
std::vector<std::string> LinesOf(std::string_view item) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t pos = 0; pos < item.size(); ++pos) {
    if (item[pos] != '\r' && item[pos] != '\n') {
      continue;
    }
    lines.emplace_back(item.substr(start, pos - start));
    if (item[pos] == '\r' && pos + 1 < item.size() && item[pos + 1] == '\n') {
      ++pos;
    }
    start = pos + 1;
  }
  if (start < item.size()) {
    lines.emplace_back(item.substr(start));
  }
  return lines;
}

// A text converted to code page 932 only when every character has a form there.
std::optional<std::string> ExactCp932(const text::TextServices& services,
                                      std::u16string_view text) {
  std::string encoded = text::Utf16ToCp932(services, text);
  // Every character without a form becomes '?': more of them than the text had means a loss.
  const auto questions = [](auto&& chars) { return std::count(chars.begin(), chars.end(), '?'); };
  if (questions(encoded) != questions(text)) {
    return std::nullopt;
  }
  return encoded;
}

}  // namespace

EditResult aexpand(ListStore& store, std::size_t list, const ViewState& view) {
  const ItemList& items = store.Slot(list).items;
  const ViewState before = Normalized(view, items.size());
  if (IsUnicodeSlot(store, list)) {
    return EditResult{false, before};
  }
  std::vector<ListStore::Split> splits;
  for (const std::size_t index : before.selected) {
    std::vector<std::string> lines = LinesOf(items[index]);
    if (lines.empty() || (lines.size() == 1 && lines.front() == items[index])) {
      continue;  // an empty item gives no line; a single line is the item as it is
    }
    splits.push_back(ListStore::Split{index, std::move(lines)});
  }
  if (splits.empty()) {
    return EditResult{false, before};
  }

  // shiftBefore[k]: lines added by the splits before split k; the last entry counts them all.
  std::vector<std::size_t> splitIndices;
  std::vector<std::size_t> lineCounts;
  std::vector<std::size_t> shiftBefore{0};
  for (const ListStore::Split& split : splits) {
    splitIndices.push_back(split.index);
    lineCounts.push_back(split.lines.size());
    shiftBefore.push_back(shiftBefore.back() + split.lines.size() - 1);
  }
  store.SplitItems(list, std::move(splits));

  ViewState after;
  std::size_t k = 0;
  for (const std::size_t index : before.selected) {
    const std::size_t first = IndexAfterSplits(index, splitIndices, shiftBefore);
    const bool split = k < splitIndices.size() && splitIndices[k] == index;
    const std::size_t lines = split ? lineCounts[k++] : 1;
    for (std::size_t line = 0; line < lines; ++line) {
      after.selected.push_back(first + line);
    }
  }
  if (before.caret) {
    after.caret = IndexAfterSplits(*before.caret, splitIndices, shiftBefore);
  }
  after.top = IndexAfterSplits(before.top, splitIndices, shiftBefore);
  return EditResult{true, after};
}

EditResult asort(ListStore& store, std::size_t list, const ViewState& view,
                 const text::TextServices& services) {
  const ItemList& items = store.Slot(list).items;
  if (IsUnicodeSlot(store, list)) {
    return EditResult{false, Normalized(view, items.size())};
  }
  // The first bytes of each key sit beside its index, so most comparisons are decided without
  // reaching into the keys scattered over the heap; equal keys keep their order.
  struct Entry {
    std::uint64_t prefix;
    std::size_t index;
  };
  std::vector<std::string> keys;
  std::vector<Entry> entries;
  keys.reserve(items.size());
  entries.reserve(items.size());
  for (const std::string_view item : items) {
    std::string key = services.SortKey(text::Cp932ToUtf16(services, item));
    entries.push_back(Entry{KeyPrefix(key), keys.size()});
    keys.push_back(std::move(key));
  }
  std::sort(entries.begin(), entries.end(), [&keys](const Entry& a, const Entry& b) {
    if (a.prefix != b.prefix) {
      return a.prefix < b.prefix;
    }
    const int order = keys[a.index].compare(keys[b.index]);
    return order != 0 ? order < 0 : a.index < b.index;
  });
  std::vector<std::size_t> order;
  order.reserve(entries.size());
  for (const Entry& entry : entries) {
    order.push_back(entry.index);
  }
  const bool changed = !std::is_sorted(order.begin(), order.end());
  if (changed) {
    store.Reorder(list, order);
  }
  return EditResult{changed, Reloaded(items.size())};
}

EditResult aplace(ListStore& store, std::size_t list, const ViewState& view,
                  std::u16string_view search, std::u16string_view replacement,
                  const text::TextServices& services) {
  const ItemList& items = store.Slot(list).items;
  if (search.empty() || IsUnicodeSlot(store, list)) {
    return EditResult{false, Normalized(view, items.size())};
  }
  bool changed = false;
  if (const std::optional<std::string> from = ExactCp932(services, search)) {
    const std::string to = text::Utf16ToCp932(services, replacement);
    for (std::size_t index = 0; index < items.size(); ++index) {
      if (items[index].find(*from) == std::string::npos) {
        continue;
      }
      std::string replaced = filters::ReplaceAll(items[index], *from, to);
      if (replaced != items[index]) {
        store.ReplaceItem(list, index, std::move(replaced));
        changed = true;
      }
    }
  }
  return EditResult{changed, Reloaded(items.size())};
}

}  // namespace pellix::lists
