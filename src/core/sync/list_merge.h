#pragma once
// The merge of a list's versions. Each instance sharing a folder keeps, for every list file, the
// version it last read or wrote (its base, as item keys). When the file is found changed, what
// changed between the base and the file found is taken into the list as it is here: texts found
// more often come in at the top, in their order; texts found less often are taken out; what was
// added or taken out here since the base stays so. Texts are counted, so a text kept twice is
// two items; a text both sides added is kept as often as the side that added it most.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "core/sync/item_keys.h"

namespace pellix::sync {

// How a found version of a list differs from the base.
template <typename Text>
struct ListChange {
  struct Count {
    ItemKey key;
    std::size_t base = 0;
    std::size_t found = 0;
  };
  std::vector<Count> counts;  // every text held a different number of times, sorted by key
  // For each text found more often than the base held it: its topmost extra occurrences, as many
  // as it gained; all of them in the found list's order from the top.
  std::vector<Text> added;
  // The found list is the base with `added` put on top and, of the texts it holds fewer times,
  // the bottommost taken out: a merge into an unchanged list gives exactly the found list.
  bool simple = true;
  std::vector<ItemKey> foundKeys;  // in the found list's order: the next base
  std::vector<ItemKey> lost;       // sorted; each text as often as the found list lost it

  bool Empty() const { return counts.empty(); }
};

namespace detail {

// Whether `found` is `added` on top of `base` with the bottommost extra occurrences out.
bool IsSimpleChange(const std::vector<ItemKey>& base, const std::vector<ItemKey>& found,
                    const std::vector<ItemKey>& addedKeys, const std::vector<ItemKey>& lost);

}  // namespace detail

// `base` holds the keys of the base's items in their order.
template <typename Text>
ListChange<Text> CompareLists(const std::vector<ItemKey>& base, const std::vector<Text>& found) {
  ListChange<Text> change;
  change.foundKeys = KeysInOrder(found);
  std::vector<std::pair<ItemKey, std::size_t>> order;
  order.reserve(found.size());
  for (std::size_t index = 0; index < found.size(); ++index) {
    order.emplace_back(change.foundKeys[index], index);
  }
  std::sort(order.begin(), order.end());
  std::vector<ItemKey> sortedBase = base;
  std::sort(sortedBase.begin(), sortedBase.end());
  std::vector<std::size_t> added;
  std::size_t b = 0;
  std::size_t f = 0;
  while (b < sortedBase.size() || f < order.size()) {
    const ItemKey key = f == order.size()                                          ? sortedBase[b]
                        : b == sortedBase.size() || order[f].first < sortedBase[b] ? order[f].first
                                                                                   : sortedBase[b];
    std::size_t inBase = 0;
    for (; b < sortedBase.size() && sortedBase[b] == key; ++b) {
      ++inBase;
    }
    const std::size_t first = f;
    for (; f < order.size() && order[f].first == key; ++f) {
    }
    const std::size_t inFound = f - first;
    if (inBase == inFound) {
      continue;
    }
    change.counts.push_back({key, inBase, inFound});
    // The topmost extra ones: within one key the order is by index.
    for (std::size_t k = 0; k + inBase < inFound; ++k) {
      added.push_back(order[first + k].second);
    }
    for (std::size_t k = inFound; k < inBase; ++k) {
      change.lost.push_back(key);
    }
  }
  std::sort(added.begin(), added.end());
  change.added.reserve(added.size());
  std::vector<ItemKey> addedKeys;
  addedKeys.reserve(added.size());
  for (const std::size_t index : added) {
    change.added.push_back(found[index]);
    addedKeys.push_back(change.foundKeys[index]);
  }
  change.simple = detail::IsSimpleChange(base, change.foundKeys, addedKeys, change.lost);
  return change;
}

enum class MergeMode {
  // The version found was made from the base (or from a later version that holds it): what it
  // lost was taken out there, and is taken out here.
  kBoth,
  // The version found was made beside this one, by an instance that did not yet know this one's
  // changes (a sync service's conflict copy): what it lacks may only be what it never saw, so
  // nothing is taken out, and only what it holds beyond everything known here comes in.
  kAddOnly,
};

// What a merge does to the list here.
struct MergePlan {
  std::vector<std::size_t> removeAscending;  // items of the list here that go
  std::vector<std::size_t> addTopFirst;      // indices into the change's `added`, inserted at
                                             // the top in this order once the others went
  bool Empty() const { return removeAscending.empty() && addTopFirst.empty(); }
};

namespace detail {

std::size_t MergedCount(std::size_t base, std::size_t here, std::size_t found, MergeMode mode,
                        std::size_t removedLately);
std::size_t CountOf(const std::vector<ItemKey>& sorted, const ItemKey& key);

}  // namespace detail

// `removedLately` (sorted keys) are texts the base lost lately, which a version made beside this
// one may still hold: in kAddOnly they are not taken back.
template <typename Items, typename Text>
MergePlan PlanMerge(const ListChange<Text>& change, const Items& here, MergeMode mode,
                    const std::vector<ItemKey>& removedLately = {}) {
  MergePlan plan;
  if (change.Empty()) {
    return plan;
  }
  const auto entryOf = [&change](const ItemKey& key) -> std::ptrdiff_t {
    const auto found = std::lower_bound(
        change.counts.begin(), change.counts.end(), key,
        [](const auto& count, const ItemKey& wanted) { return count.key < wanted; });
    return found != change.counts.end() && found->key == key ? found - change.counts.begin() : -1;
  };
  // Only items of a length that changed are hashed: a list of any size is read once, cheaply.
  std::vector<std::uint64_t> lengths;
  for (const auto& count : change.counts) {
    lengths.push_back(count.key.length);
  }
  std::sort(lengths.begin(), lengths.end());
  std::vector<std::vector<std::size_t>> occurrences(change.counts.size());
  for (std::size_t index = 0; index < here.size(); ++index) {
    const auto& item = here[index];
    if (!std::binary_search(lengths.begin(), lengths.end(), item.size())) {
      continue;
    }
    const std::ptrdiff_t entry = entryOf(KeyOf(item));
    if (entry >= 0) {
      occurrences[static_cast<std::size_t>(entry)].push_back(index);
    }
  }
  std::vector<std::vector<std::size_t>> addable(change.counts.size());
  for (std::size_t k = 0; k < change.added.size(); ++k) {
    const std::ptrdiff_t entry = entryOf(KeyOf(change.added[k]));
    if (entry >= 0) {
      addable[static_cast<std::size_t>(entry)].push_back(k);
    }
  }
  for (std::size_t entry = 0; entry < change.counts.size(); ++entry) {
    const auto& count = change.counts[entry];
    const std::vector<std::size_t>& held = occurrences[entry];
    const std::size_t result = detail::MergedCount(count.base, held.size(), count.found, mode,
                                                   detail::CountOf(removedLately, count.key));
    // Taken out from the bottom: of equal texts, the oldest go.
    for (std::size_t k = result; k < held.size(); ++k) {
      plan.removeAscending.push_back(held[held.size() - 1 - (k - result)]);
    }
    for (std::size_t k = held.size(); k < result && k - held.size() < addable[entry].size(); ++k) {
      plan.addTopFirst.push_back(addable[entry][k - held.size()]);
    }
  }
  std::sort(plan.removeAscending.begin(), plan.removeAscending.end());
  std::sort(plan.addTopFirst.begin(), plan.addTopFirst.end());
  return plan;
}

// The list here with the plan carried out.
template <typename Items, typename Text>
std::vector<Text> Merged(const Items& here, const ListChange<Text>& change, const MergePlan& plan) {
  std::vector<Text> merged;
  merged.reserve(here.size() + plan.addTopFirst.size());
  for (const std::size_t k : plan.addTopFirst) {
    merged.push_back(change.added[k]);
  }
  std::size_t next = 0;
  for (std::size_t index = 0; index < here.size(); ++index) {
    if (next < plan.removeAscending.size() && plan.removeAscending[next] == index) {
      ++next;
      continue;
    }
    merged.push_back(here[index]);
  }
  return merged;
}

}  // namespace pellix::sync
