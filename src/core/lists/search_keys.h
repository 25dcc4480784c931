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

#include "core/lists/list_id.h"
#include "core/text/fold.h"

namespace pellix::lists {

template <typename Text>
class FoldedCopies {
 public:
  bool Built() const { return built_; }
  const std::vector<Text>& Keys() const { return keys_; }

  template <typename Items>
  void Build(const Items& items) {
    keys_.clear();
    keys_.reserve(items.size());
    for (const auto& item : items) {
      keys_.push_back(Fold(item));
    }
    built_ = true;
  }
  void Drop() {
    keys_ = {};
    built_ = false;
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
    keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(at),
                 std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
  }
  template <typename Item>
  void Replaced(std::size_t index, const Item& item) {
    if (built_) {
      keys_.at(index) = Fold(item);
    }
  }
  void Removed(const std::vector<std::size_t>& ascending) {
    if (!built_ || ascending.empty()) {
      return;
    }
    std::size_t write = ascending.front();
    std::size_t next = 0;
    for (std::size_t read = ascending.front(); read < keys_.size(); ++read) {
      if (next < ascending.size() && ascending[next] == read) {
        ++next;
      } else {
        keys_[write++] = std::move(keys_[read]);
      }
    }
    keys_.resize(write);
  }
  void KeptFirst(std::size_t count) {
    if (built_ && count < keys_.size()) {
      keys_.resize(count);
    }
  }
  void Swapped(std::size_t a, std::size_t b) {
    if (built_) {
      std::swap(keys_.at(a), keys_.at(b));
    }
  }
  // Item `from` was taken out and put back at `to`.
  void Moved(std::size_t from, std::size_t to) {
    if (!built_) {
      return;
    }
    const auto first = keys_.begin();
    if (from < to) {
      std::rotate(first + from, first + from + 1, first + to + 1);
    } else {
      std::rotate(first + to, first + from, first + from + 1);
    }
  }

 private:
  static std::string Fold(std::string_view item) { return text::FoldCp932(item); }
  static std::u16string Fold(std::u16string_view item) { return text::FoldUtf16(item); }

  std::vector<Text> keys_;
  bool built_ = false;
};

class SearchKeys {
 public:
  // The copies of the list, or nothing when that list's are not kept.
  FoldedCopies<std::string>* Ansi(std::size_t slot) { return slot_ == slot ? &ansi_ : nullptr; }
  FoldedCopies<std::u16string>& Unicode() { return unicode_; }

  // Keeps the copies of ordinary list `slot` from now on, in place of another list's.
  FoldedCopies<std::string>& KeepAnsi(std::size_t slot) {
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
  FoldedCopies<std::string> ansi_;
  FoldedCopies<std::u16string> unicode_;
};

}  // namespace pellix::lists
