#pragma once
// What this instance knows of the version of a list's file that its items were built on: the
// keys of the items the file held. A change found in the folder is measured against it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/sync/item_keys.h"
#include "core/sync/known_file.h"

namespace pellix::sync {

struct ListVersion {
  KnownFile file;
  // The keys of its items, in their order.
  std::shared_ptr<const std::vector<ItemKey>> keys = std::make_shared<std::vector<ItemKey>>();
  // The list's items stamp while they were exactly this version; 0 once they changed after it
  // was taken in with changes of this instance's own.
  std::uint64_t itemsStamp = 0;
  // Texts the versions lost lately (sorted), which a copy made beside this one may still hold.
  std::vector<ItemKey> removedLately;
};

// Moves `version` on to `next`, remembering what the step `lost` (sorted, each text as often as
// it lost it; a bounded number of texts is remembered).
void MoveOn(ListVersion& version, ListVersion next, const std::vector<ItemKey>& lost);

}  // namespace pellix::sync
