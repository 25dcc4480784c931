#include "core/sync/list_merge.h"

namespace pellix::sync::detail {

std::size_t MergedCount(std::size_t base, std::size_t here, std::size_t found, MergeMode mode,
                        std::size_t removedLately) {
  if (mode == MergeMode::kAddOnly) {
    const std::size_t known = std::max(base + removedLately, here);
    return here + (found > known ? found - known : 0);
  }
  // Occurrences are numbered: the first `base` are the base's; one of those stays only if
  // neither side took it out, and one beyond them is there if either side added it.
  const std::size_t most = std::max(here, found);
  return std::min({here, found, base}) + (most > base ? most - base : 0);
}

bool IsSimpleChange(const std::vector<ItemKey>& base, const std::vector<ItemKey>& found,
                    const std::vector<ItemKey>& addedKeys, const std::vector<ItemKey>& lost) {
  if (found.size() + lost.size() != base.size() + addedKeys.size() ||
      !std::equal(addedKeys.begin(), addedKeys.end(), found.begin())) {
    return false;
  }
  // The base from the bottom up: a lost text's occurrences go from the bottom first.
  std::vector<ItemKey> losing;
  std::vector<std::size_t> toLose;
  for (const ItemKey& key : lost) {
    if (losing.empty() || losing.back() != key) {
      losing.push_back(key);
      toLose.push_back(0);
    }
    ++toLose.back();
  }
  std::size_t next = found.size();
  for (std::size_t index = base.size(); index-- > 0;) {
    const auto at = std::lower_bound(losing.begin(), losing.end(), base[index]);
    if (at != losing.end() && *at == base[index] && toLose[at - losing.begin()] > 0) {
      --toLose[at - losing.begin()];
      continue;
    }
    if (next == addedKeys.size() || found[--next] != base[index]) {
      return false;
    }
  }
  return next == addedKeys.size();
}

std::size_t CountOf(const std::vector<ItemKey>& sorted, const ItemKey& key) {
  const auto range = std::equal_range(sorted.begin(), sorted.end(), key);
  return static_cast<std::size_t>(range.second - range.first);
}

}  // namespace pellix::sync::detail
