#include "core/sync/versions.h"

#include <algorithm>
#include <iterator>

namespace pellix::sync {
namespace {

constexpr std::size_t kRemovedKept = 4096;

}  // namespace

KeysOf KeysMade(std::vector<ItemKey> keys) {
  return [keys = std::make_shared<const std::vector<ItemKey>>(std::move(keys))] { return *keys; };
}

void MoveOn(ListVersion& version, ListVersion next, const std::vector<ItemKey>& lost) {
  std::vector<ItemKey> removed = std::move(version.removedLately);
  removed.insert(removed.end(), lost.begin(), lost.end());
  if (removed.size() > kRemovedKept) {
    // Some of the earlier ones are forgotten; the rest is sorted again below.
    removed.erase(removed.begin(),
                  removed.begin() + static_cast<std::ptrdiff_t>(removed.size() - kRemovedKept));
  }
  next.removedLately = std::move(removed);
  std::sort(next.removedLately.begin(), next.removedLately.end());
  version = std::move(next);
}

}  // namespace pellix::sync
