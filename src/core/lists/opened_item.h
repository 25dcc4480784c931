#pragma once
// The one item the edit box has open. The store moves it along with every change it makes, so
// the edited text goes back to that item wherever it is by then, and only to it.

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "core/lists/list_id.h"

namespace pellix::lists {

class OpenedItem {
 public:
  void Open(ItemPlace place) {
    origin_ = place.list;
    place_ = place;
  }
  void Close() {
    origin_.reset();
    place_.reset();
  }

  // The list the item was opened in; nullopt when nothing is open or that list was deleted.
  std::optional<ListId> Origin() const { return origin_; }
  // Where the item is now; nullopt when it no longer exists or nothing is open.
  std::optional<ItemPlace> Place() const { return place_; }

  // `list` changed: `newPlace(index)` tells where its item `index` went, nullopt when it went.
  template <typename NewPlace>
  void Follow(ListId list, NewPlace&& newPlace) {
    if (place_ && place_->list == list) {
      place_ = newPlace(place_->index);
    }
  }

  void Inserted(ListId list, std::size_t at, std::size_t count) {
    Follow(list, [&](std::size_t index) {
      return std::optional<ItemPlace>(ItemPlace{list, index >= at ? index + count : index});
    });
  }

  // The items at `ascending` were taken out of `list`.
  void Removed(ListId list, const std::vector<std::size_t>& ascending) {
    Follow(list, [&](std::size_t index) -> std::optional<ItemPlace> {
      const auto before = std::lower_bound(ascending.begin(), ascending.end(), index);
      if (before != ascending.end() && *before == index) {
        return std::nullopt;
      }
      return ItemPlace{list, index - static_cast<std::size_t>(before - ascending.begin())};
    });
  }

  // Whole lists moved: `newSlot(slot)` tells where ordinary list `slot` went, nullopt when it
  // was deleted. The Unicode list's items do not belong to a slot and stay where they are.
  template <typename NewSlot>
  void ListsMoved(NewSlot&& newSlot) {
    const auto moved = [&](ListId list) -> std::optional<ListId> {
      if (list.unicode) {
        return list;
      }
      const std::optional<std::size_t> slot = newSlot(list.slot);
      return slot ? std::optional<ListId>(ListId::Ansi(*slot)) : std::nullopt;
    };
    if (origin_) {
      origin_ = moved(*origin_);
    }
    if (place_) {
      const std::optional<ListId> list = moved(place_->list);
      place_ = list ? std::optional<ItemPlace>(ItemPlace{*list, place_->index}) : std::nullopt;
    }
  }

  // Every item of `list` was replaced.
  void Lost(ListId list) {
    Follow(list, [](std::size_t) { return std::optional<ItemPlace>(); });
  }

 private:
  std::optional<ListId> origin_;
  std::optional<ItemPlace> place_;
};

}  // namespace pellix::lists
