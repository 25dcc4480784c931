// The store's item changes: every one counts as a revision and keeps the opened item on its
// item.

#include <algorithm>
#include <iterator>

#include "core/io/errors.h"
#include "core/lists/list_store.h"

namespace pellix::lists {
namespace {

void CheckIndex(std::size_t index, std::size_t count) {
  if (index >= count) {
    throw io::RangeError();
  }
}

void CheckAscending(const std::vector<std::size_t>& ascending, std::size_t count) {
  for (std::size_t k = 0; k < ascending.size(); ++k) {
    CheckIndex(ascending[k], count);
    if (k > 0 && ascending[k] <= ascending[k - 1]) {
      throw io::RangeError();
    }
  }
}

// One pass: each remaining item moves at most once.
template <typename Texts>
void EraseAscending(Texts& items, const std::vector<std::size_t>& ascending) {
  if (ascending.empty()) {
    return;
  }
  std::size_t write = ascending.front();
  std::size_t next = 0;
  for (std::size_t read = ascending.front(); read < items.size(); ++read) {
    if (next < ascending.size() && ascending[next] == read) {
      ++next;
    } else {
      items[write++] = std::move(items[read]);
    }
  }
  items.resize(write);
}

void EraseAscending(ItemList& items, const std::vector<std::size_t>& ascending) {
  items.EraseAscending(ascending);
}

void KeepFirstOf(SharedWideItems::Pointers& items, std::size_t count) {
  items.resize(count);
}

void KeepFirstOf(ItemList& items, std::size_t count) {
  items.KeepFirst(count);
}

void SwapOf(SharedWideItems::Pointers& items, std::size_t a, std::size_t b) {
  std::swap(items[a], items[b]);
}

void SwapOf(ItemList& items, std::size_t a, std::size_t b) {
  const std::string first(items[a]);
  items.Replace(a, std::string(items[b]));
  items.Replace(b, first);
}

// Takes item `from` out and puts it back at `to`, counted in the list without it.
void MoveOf(SharedWideItems::Pointers& items, std::size_t from, std::size_t to) {
  const auto first = items.begin();
  if (from < to) {
    std::rotate(first + from, first + from + 1, first + to + 1);
  } else {
    std::rotate(first + to, first + from, first + from + 1);
  }
}

void MoveOf(ItemList& items, std::size_t from, std::size_t to) {
  std::string text(items[from]);
  items.EraseAscending({from});
  items.Insert(to, {std::move(text)});
}

// Inserts in one move of the items below, however many texts come.
// Returns whether anything went in.
bool InsertRun(SharedWideItems::Pointers& items, std::size_t at, SharedWideItems::Pointers texts) {
  if (at > items.size()) {
    throw io::RangeError();
  }
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(at),
               std::make_move_iterator(texts.begin()), std::make_move_iterator(texts.end()));
  return !texts.empty();
}

bool InsertRun(ItemList& items, std::size_t at, Items texts) {
  if (at > items.size()) {
    throw io::RangeError();
  }
  const bool any = !texts.empty();
  items.Insert(at, std::move(texts));
  return any;
}

}  // namespace

template <typename Action>
decltype(auto) ListStore::WithItems(ListId list, Action&& action) {
  return list.unicode ? action(unicodeItems_.Edit()) : action(slots_.at(list.slot).items);
}

void ListStore::Changed(ListId list, bool removed) {
  StampItems(list);
  unicodeRemoved_ = unicodeRemoved_ || (list.unicode && removed);
  if (removed) {
    (list.unicode ? unicodeSynced_ : slots_.at(list.slot).synced).removedSince = true;
  }
}

void ListStore::StampItems(ListId list) {
  ++revision_;
  (list.unicode ? unicodeStamp_ : slots_.at(list.slot).itemsStamp) = revision_;
}

std::uint64_t ListStore::ItemsStamp(ListId list) const {
  return list.unicode ? unicodeStamp_ : slots_.at(list.slot).itemsStamp;
}

const sync::ListVersion& ListStore::Synced(ListId list) const {
  return list.unicode ? unicodeSynced_ : slots_.at(list.slot).synced;
}

void ListStore::SetSynced(ListId list, sync::ListVersion version,
                          const std::vector<sync::ItemKey>& lost) {
  sync::MoveOn(list.unicode ? unicodeSynced_ : slots_.at(list.slot).synced, std::move(version),
               lost);
}

std::size_t ListStore::ItemCount(ListId list) const {
  return list.unicode ? unicodeItems_.size() : slots_.at(list.slot).items.size();
}

void ListStore::InsertAtTop(std::size_t index, std::vector<std::string> topFirst) {
  const std::size_t count = topFirst.size();
  slots_.at(index).items.Insert(0, std::move(topFirst));
  opened_.Inserted(ListId::Ansi(index), 0, count);
  KeysInserted(ListId::Ansi(index), 0, count);
  Changed(ListId::Ansi(index), false);
}

void ListStore::InsertUnicodeAtTop(std::u16string text) {
  SharedWideItems::Pointers& items = unicodeItems_.Edit();
  items.insert(items.begin(), SharedWideItems::Share(std::move(text)));
  opened_.Inserted(ListId::Unicode(), 0, 1);
  KeysInserted(ListId::Unicode(), 0, 1);
  Changed(ListId::Unicode(), false);
}

void ListStore::InsertItems(std::size_t index, std::size_t at, Items texts) {
  const std::size_t count = texts.size();
  if (!InsertRun(slots_.at(index).items, at, std::move(texts))) {
    return;
  }
  opened_.Inserted(ListId::Ansi(index), at, count);
  KeysInserted(ListId::Ansi(index), at, count);
  Changed(ListId::Ansi(index), false);
}

void ListStore::InsertUnicodeItems(std::size_t at, WideItems texts) {
  const std::size_t count = texts.size();
  SharedWideItems::Pointers shared;
  shared.reserve(count);
  for (std::u16string& text : texts) {
    shared.push_back(SharedWideItems::Share(std::move(text)));
  }
  if (!InsertRun(unicodeItems_.Edit(), at, std::move(shared))) {
    return;
  }
  opened_.Inserted(ListId::Unicode(), at, count);
  KeysInserted(ListId::Unicode(), at, count);
  Changed(ListId::Unicode(), false);
}

void ListStore::ReplaceItem(std::size_t index, std::size_t item, std::string text) {
  ItemList& items = slots_.at(index).items;
  CheckIndex(item, items.size());
  items.Replace(item, text);
  if (auto* keys = keys_.Ansi(index)) {
    keys->Replaced(item, slots_[index].items[item]);
  }
  Changed(ListId::Ansi(index), false);
}

void ListStore::ReplaceUnicodeItem(std::size_t item, std::u16string text) {
  unicodeItems_.Edit().at(item) = SharedWideItems::Share(std::move(text));
  keys_.Unicode().Replaced(item, unicodeItems_[item]);
  Changed(ListId::Unicode(), false);
}

void ListStore::SetItems(std::size_t index, Items items) {
  slots_.at(index).items = ItemList(std::move(items));
  opened_.Lost(ListId::Ansi(index));
  StampItems(ListId::Ansi(index));
  keys_.For(ListId::Ansi(index), [](auto& keys) { keys.Drop(); });
}

void ListStore::SetUnicodeItems(WideItems items) {
  unicodeItems_ = SharedWideItems(std::move(items));
  opened_.Lost(ListId::Unicode());
  StampItems(ListId::Unicode());
  keys_.Unicode().Drop();
}

void ListStore::RemoveItems(ListId list, const std::vector<std::size_t>& ascending) {
  CheckAscending(ascending, ItemCount(list));
  if (ascending.empty()) {
    return;
  }
  WithItems(list, [&](auto& items) { EraseAscending(items, ascending); });
  opened_.Removed(list, ascending);
  keys_.For(list, [&](auto& keys) { keys.Removed(ascending); });
  Changed(list, true);
}

void ListStore::KeepFirst(ListId list, std::size_t count) {
  if (count >= ItemCount(list)) {
    return;
  }
  WithItems(list, [&](auto& items) { KeepFirstOf(items, count); });
  opened_.Follow(list, [&](std::size_t index) {
    return index < count ? std::optional<ItemPlace>(ItemPlace{list, index}) : std::nullopt;
  });
  keys_.For(list, [&](auto& keys) { keys.KeptFirst(count); });
  Changed(list, true);
}

void ListStore::SwapItems(ListId list, std::size_t a, std::size_t b) {
  CheckIndex(a, ItemCount(list));
  CheckIndex(b, ItemCount(list));
  WithItems(list, [&](auto& items) { SwapOf(items, a, b); });
  opened_.Follow(list, [&](std::size_t index) {
    return std::optional<ItemPlace>(ItemPlace{list, index == a ? b : index == b ? a : index});
  });
  keys_.For(list, [&](auto& keys) { keys.Swapped(a, b); });
  Changed(list, false);
}

void ListStore::MoveItem(ListId list, std::size_t from, std::size_t to) {
  CheckIndex(from, ItemCount(list));
  CheckIndex(to, ItemCount(list));
  WithItems(list, [&](auto& items) { MoveOf(items, from, to); });
  opened_.Follow(list, [&](std::size_t index) {
    if (index == from) {
      return std::optional<ItemPlace>(ItemPlace{list, to});
    }
    const std::size_t without = index > from ? index - 1 : index;
    return std::optional<ItemPlace>(ItemPlace{list, without >= to ? without + 1 : without});
  });
  keys_.For(list, [&](auto& keys) { keys.Moved(from, to); });
  Changed(list, false);
}

void ListStore::SplitItems(std::size_t list, std::vector<Split> ascending) {
  ItemList& kept = slots_.at(list).items;
  std::size_t added = 0;
  for (std::size_t k = 0; k < ascending.size(); ++k) {
    CheckIndex(ascending[k].index, kept.size());
    if ((k > 0 && ascending[k].index <= ascending[k - 1].index) || ascending[k].lines.empty()) {
      throw io::RangeError();
    }
    added += ascending[k].lines.size() - 1;
  }
  if (ascending.empty()) {
    return;
  }
  Items items = kept.ToVector();
  Items result;
  result.reserve(items.size() + added);
  auto split = ascending.begin();
  for (std::size_t index = 0; index < items.size(); ++index) {
    if (split != ascending.end() && split->index == index) {
      std::move(split->lines.begin(), split->lines.end(), std::back_inserter(result));
      ++split;
    } else {
      result.push_back(std::move(items[index]));
    }
  }
  kept = ItemList(std::move(result));
  // An item that became several lines is gone; one that stayed a single line is still there.
  opened_.Follow(ListId::Ansi(list), [&](std::size_t index) -> std::optional<ItemPlace> {
    std::size_t shift = 0;
    for (const Split& each : ascending) {
      if (each.index == index && each.lines.size() > 1) {
        return std::nullopt;
      }
      if (each.index >= index) {
        break;
      }
      shift += each.lines.size() - 1;
    }
    return ItemPlace{ListId::Ansi(list), index + shift};
  });
  keys_.For(ListId::Ansi(list), [](auto& keys) { keys.Drop(); });
  Changed(ListId::Ansi(list), false);
}

void ListStore::Reorder(std::size_t list, const std::vector<std::size_t>& order) {
  ItemList& kept = slots_.at(list).items;
  if (order.size() != kept.size()) {
    throw io::RangeError();
  }
  std::vector<bool> seen(order.size());
  for (const std::size_t index : order) {
    CheckIndex(index, kept.size());
    if (seen[index]) {
      throw io::RangeError();
    }
    seen[index] = true;
  }
  Items items = kept.ToVector();
  Items result;
  result.reserve(items.size());
  for (const std::size_t index : order) {
    result.push_back(std::move(items[index]));
  }
  kept = ItemList(std::move(result));
  opened_.Follow(ListId::Ansi(list), [&](std::size_t index) {
    const auto at = std::find(order.begin(), order.end(), index);
    return std::optional<ItemPlace>(
        ItemPlace{ListId::Ansi(list), static_cast<std::size_t>(at - order.begin())});
  });
  keys_.For(ListId::Ansi(list), [](auto& keys) { keys.Drop(); });
  Changed(ListId::Ansi(list), false);
}

void ListStore::MoveToTop(std::size_t from, std::size_t item, std::size_t to) {
  ItemList& source = slots_.at(from).items;
  ItemList& target = slots_.at(to).items;
  CheckIndex(item, source.size());
  if (from == to) {
    throw io::RangeError();
  }
  target.Insert(0, {std::string(source[item])});
  source.EraseAscending({item});
  // The target first: an item that arrives there must not be pushed down again.
  opened_.Inserted(ListId::Ansi(to), 0, 1);
  KeysInserted(ListId::Ansi(to), 0, 1);
  keys_.For(ListId::Ansi(from), [item](auto& keys) { keys.Removed({item}); });
  opened_.Follow(ListId::Ansi(from), [&](std::size_t index) {
    return std::optional<ItemPlace>(index == item  ? ItemPlace{ListId::Ansi(to), 0}
                                    : index > item ? ItemPlace{ListId::Ansi(from), index - 1}
                                                   : ItemPlace{ListId::Ansi(from), index});
  });
  Changed(ListId::Ansi(from), true);
  Changed(ListId::Ansi(to), false);
}

void ListStore::MoveToUnicodeTop(std::size_t from, std::size_t item, std::u16string text) {
  ItemList& source = slots_.at(from).items;
  CheckIndex(item, source.size());
  SharedWideItems::Pointers& items = unicodeItems_.Edit();
  items.insert(items.begin(), SharedWideItems::Share(std::move(text)));
  source.EraseAscending({item});
  opened_.Inserted(ListId::Unicode(), 0, 1);
  KeysInserted(ListId::Unicode(), 0, 1);
  keys_.For(ListId::Ansi(from), [item](auto& keys) { keys.Removed({item}); });
  opened_.Follow(ListId::Ansi(from), [&](std::size_t index) {
    return std::optional<ItemPlace>(index == item  ? ItemPlace{ListId::Unicode(), 0}
                                    : index > item ? ItemPlace{ListId::Ansi(from), index - 1}
                                                   : ItemPlace{ListId::Ansi(from), index});
  });
  Changed(ListId::Ansi(from), true);
  Changed(ListId::Unicode(), false);
}

void ListStore::KeysInserted(ListId list, std::size_t at, std::size_t count) {
  if (list.unicode) {
    keys_.Unicode().Inserted(at, count, unicodeItems_);
  } else if (auto* keys = keys_.Ansi(list.slot)) {
    keys->Inserted(at, count, slots_[list.slot].items);
  }
}

const ItemList& ListStore::SearchKeys(std::size_t slot) {
  const ItemList& items = slots_.at(slot).items;
  lists::AnsiFoldedCopies& keys = keys_.KeepAnsi(slot);
  if (!keys.Built()) {
    keys.Adopt(FoldedKeys(items.Take()));
  }
  return keys.Keys();
}

bool ListStore::SearchKeysReady(ListId list) const {
  if (list.unicode) {
    return true;
  }
  const bool kept = keys_.KeptAnsi(list.slot);
  return kept || slots_.at(list.slot).items.size() <= kFoldAtOnceItems;
}

bool ListStore::KeepSearchKeys(std::size_t slot, const ItemList::Snapshot& folded, ItemList keys) {
  if (slot >= slots_.size() || !slots_[slot].items.Holds(folded)) {
    return false;
  }
  keys_.KeepAnsi(slot).Adopt(std::move(keys));
  return true;
}

const std::vector<std::u16string>& ListStore::UnicodeSearchKeys() {
  if (!keys_.Unicode().Built()) {
    keys_.Unicode().Build(unicodeItems_);
  }
  return keys_.Unicode().Keys();
}

void ListStore::OpenItem(ItemPlace place) {
  CheckIndex(place.index, ItemCount(place.list));
  opened_.Open(place);
}

}  // namespace pellix::lists
