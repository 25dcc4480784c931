#pragma once
// What this instance knows of the version of a list's file that its items were built on: the
// keys of the items the file held. A change found in the folder is measured against it. They are
// made when first asked for, from a snapshot of the list as it was written or read (which shares
// its texts), so a list that no other instance changes costs nothing for them, and they are
// made on the writer's thread, where hashing a large list holds nobody up.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/sync/item_keys.h"
#include "core/sync/known_file.h"

namespace pellix::sync {

// The keys of a version's items, in their order, made when called.
using KeysOf = std::function<std::vector<ItemKey>()>;

// Keys already made (a version taken in from elsewhere that the list here does not match).
KeysOf KeysMade(std::vector<ItemKey> keys);

struct ListVersion {
  KnownFile file;
  KeysOf keys = KeysMade({});
  // The list's items stamp while they were exactly this version; 0 once they changed after it
  // was taken in with changes of this instance's own.
  std::uint64_t itemsStamp = 0;
  // Texts the versions lost lately (sorted), which a copy made beside this one may still hold.
  std::vector<ItemKey> removedLately;
  // Items were taken out of the list since this version: its next write tells what it lost.
  bool removedSince = false;
};

// Moves `version` on to `next`, remembering what the step `lost` (sorted, each text as often as
// it lost it; a bounded number of texts is remembered).
void MoveOn(ListVersion& version, ListVersion next, const std::vector<ItemKey>& lost);

}  // namespace pellix::sync
