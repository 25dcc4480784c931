#pragma once
// The folded copies of a list's items that a search reads, kept beside the items by the list
// store: built the first time a list is searched, then changed with every change of its items,
// so a keystroke never folds the whole list again. Only the lists searched last are kept (one
// ordinary list and the Unicode list).

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/lists/item_list.h"
#include "core/lists/list_id.h"
#include "core/text/fold.h"

namespace pellix::lists {

namespace folded {

// The changes FoldedCopies makes, for its two kinds of store: a vector of texts (the Unicode
// list's), and a packed list (an ordinary list's: a million folded texts in one place take a
// third of the memory, and a keystroke reads them one after another).
template <typename Text>
void Insert(std::vector<Text>& keys, std::size_t at, std::vector<Text> added) {
  keys.insert(keys.begin() + static_cast<std::ptrdiff_t>(at),
              std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
}
inline void Insert(ItemList& keys, std::size_t at, const std::vector<std::string>& added) {
  keys.Insert(at, added);
}
template <typename Text>
void Replace(std::vector<Text>& keys, std::size_t index, Text key) {
  keys.at(index) = std::move(key);
}
inline void Replace(ItemList& keys, std::size_t index, const std::string& key) {
  keys.Replace(index, key);
}
template <typename Text>
void Erase(std::vector<Text>& keys, const std::vector<std::size_t>& ascending) {
  std::size_t write = ascending.front();
  std::size_t next = 0;
  for (std::size_t read = ascending.front(); read < keys.size(); ++read) {
    if (next < ascending.size() && ascending[next] == read) {
      ++next;
    } else {
      keys[write++] = std::move(keys[read]);
    }
  }
  keys.resize(write);
}
inline void Erase(ItemList& keys, const std::vector<std::size_t>& ascending) {
  keys.EraseAscending(ascending);
}
template <typename Text>
void KeepFirst(std::vector<Text>& keys, std::size_t count) {
  keys.resize(count);
}
inline void KeepFirst(ItemList& keys, std::size_t count) {
  keys.KeepFirst(count);
}
template <typename Text>
void Swap(std::vector<Text>& keys, std::size_t a, std::size_t b) {
  std::swap(keys.at(a), keys.at(b));
}
inline void Swap(ItemList& keys, std::size_t a, std::size_t b) {
  const std::string first(keys[a]);
  keys.Replace(a, std::string(keys[b]));
  keys.Replace(b, first);
}
// Item `from` taken out and put back at `to`.
template <typename Text>
void Move(std::vector<Text>& keys, std::size_t from, std::size_t to) {
  const auto first = keys.begin();
  if (from < to) {
    std::rotate(first + from, first + from + 1, first + to + 1);
  } else {
    std::rotate(first + to, first + from, first + from + 1);
  }
}
inline void Move(ItemList& keys, std::size_t from, std::size_t to) {
  std::string key(keys[from]);
  keys.EraseAscending({from});
  keys.Insert(to, {std::move(key)});
}

}  // namespace folded

// `Store` holds the folded texts: a vector of them, or a packed ItemList.
template <typename Text, typename Store = std::vector<Text>>
class FoldedCopies {
 public:
  bool Built() const { return built_; }
  const Store& Keys() const { return keys_; }

  template <typename Items>
  void Build(const Items& items) {
    keys_ = {};
    std::vector<Text> folded;
    folded.reserve(items.size());
    for (const auto& item : items) {
      folded.push_back(Fold(item));
    }
    keys_ = Store(std::move(folded));
    built_ = true;
  }
  void Drop() {
    keys_ = {};
    built_ = false;
  }
  // Copies folded elsewhere, of the items as they are now.
  void Adopt(Store keys) {
    keys_ = std::move(keys);
    built_ = true;
  }

  // `items` are the list's items after the change.
  template <typename Items>
  void Inserted(std::size_t at, std::size_t count, const Items& items) {
    if (!built_) {
      return;
    }
    std::vector<Text> added;
    added.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
      added.push_back(Fold(items[at + k]));
    }
    folded::Insert(keys_, at, std::move(added));
  }
  template <typename Item>
  void Replaced(std::size_t index, const Item& item) {
    if (built_) {
      folded::Replace(keys_, index, Fold(item));
    }
  }
  void Removed(const std::vector<std::size_t>& ascending) {
    if (built_ && !ascending.empty()) {
      folded::Erase(keys_, ascending);
    }
  }
  void KeptFirst(std::size_t count) {
    if (built_ && count < keys_.size()) {
      folded::KeepFirst(keys_, count);
    }
  }
  void Swapped(std::size_t a, std::size_t b) {
    if (built_) {
      folded::Swap(keys_, a, b);
    }
  }
  void Moved(std::size_t from, std::size_t to) {
    if (built_) {
      folded::Move(keys_, from, to);
    }
  }

 private:
  static std::string Fold(std::string_view item) { return text::FoldCp932(item); }
  static std::u16string Fold(std::u16string_view item) { return text::FoldUtf16(item); }

  Store keys_;
  bool built_ = false;
};

// The ordinary lists' copies, packed.
using AnsiFoldedCopies = FoldedCopies<std::string, ItemList>;

// An ordinary list's folded copies made from a snapshot of its items, on any thread: at a
// million items this takes a good part of a second, too long for the window's thread.
ItemList FoldedKeys(const ItemList::Snapshot& items);

// A list this long or shorter is folded when its search starts: a few milliseconds.
inline constexpr std::size_t kFoldAtOnceItems = 20'000;

class SearchKeys {
 public:
  // The copies of the list, or nothing when that list's are not kept.
  AnsiFoldedCopies* Ansi(std::size_t slot) { return slot_ == slot ? &ansi_ : nullptr; }
  bool KeptAnsi(std::size_t slot) const { return slot_ == slot && ansi_.Built(); }
  FoldedCopies<std::u16string>& Unicode() { return unicode_; }

  // Keeps the copies of ordinary list `slot` from now on, in place of another list's.
  AnsiFoldedCopies& KeepAnsi(std::size_t slot) {
    if (slot_ != slot) {
      ansi_.Drop();
      slot_ = slot;
    }
    return ansi_;
  }

  // Calls `change(copies)` with the copies kept for `list`, if any.
  template <typename Change>
  void For(lists::ListId list, Change&& change) {
    if (list.unicode) {
      change(unicode_);
    } else if (slot_ == list.slot) {
      change(ansi_);
    }
  }

  // Lists were moved or removed: the ordinary list's copies are built again when next needed.
  void ForgetAnsi() {
    ansi_.Drop();
    slot_.reset();
  }
  void Clear() {
    ForgetAnsi();
    unicode_.Drop();
  }

 private:
  std::optional<std::size_t> slot_;
  AnsiFoldedCopies ansi_;
  FoldedCopies<std::u16string> unicode_;
};

}  // namespace pellix::lists
