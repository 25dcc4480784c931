#pragma once
// The promises of a merge of two changed versions of a list, checked on any three versions: the
// unit tests feed it cases and random edits, the fuzz target whatever it finds. Each check
// returns what broke, or nothing.

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/sync/list_merge.h"

namespace pellix::sync::testing_support {

using Texts = std::vector<std::string>;

// `here` merged with what changed from `base` to `found`.
inline Texts MergeLists(const Texts& base, const Texts& here, const Texts& found,
                        MergeMode mode = MergeMode::kBoth,
                        const std::vector<ItemKey>& removedLately = {}) {
  const ListChange<std::string> change = CompareLists(KeysInOrder(base), found);
  return Merged(here, change, PlanMerge(change, here, mode, removedLately));
}

inline std::map<std::string, std::size_t> Counts(const Texts& texts) {
  std::map<std::string, std::size_t> counts;
  for (const std::string& text : texts) {
    ++counts[text];
  }
  return counts;
}

inline std::size_t CountIn(const std::map<std::string, std::size_t>& counts,
                           const std::string& text) {
  const auto found = counts.find(text);
  return found == counts.end() ? 0 : found->second;
}

// Whether `part` appears in `whole` in its order (not necessarily together).
inline bool InOrder(const Texts& part, const Texts& whole) {
  std::size_t next = 0;
  for (const std::string& text : whole) {
    if (next < part.size() && part[next] == text) {
      ++next;
    }
  }
  return next == part.size();
}

// The promises of MergeMode::kBoth for `base` changed into `here` on one side and `found` on the
// other.
inline std::optional<std::string> CheckMerge(const Texts& base, const Texts& here,
                                             const Texts& found) {
  const Texts merged = MergeLists(base, here, found);
  const auto b = Counts(base);
  const auto h = Counts(here);
  const auto f = Counts(found);
  const auto m = Counts(merged);
  std::map<std::string, bool> all;
  for (const auto* counts : {&b, &h, &f, &m}) {
    for (const auto& [text, count] : *counts) {
      all[text] = true;
    }
  }
  for (const auto& [text, unused] : all) {
    const std::size_t inBase = CountIn(b, text);
    const std::size_t inHere = CountIn(h, text);
    const std::size_t inFound = CountIn(f, text);
    const std::size_t inMerged = CountIn(m, text);
    const std::string quoted = "'" + text + "' is held " + std::to_string(inMerged) + " times: ";
    // Nothing is made up: no text is held more often than by the side that holds it most.
    if (inMerged > std::max(inHere, inFound)) {
      return quoted + "more than either side";
    }
    // Nothing added on either side is lost: a new text is held as often as its commonest side
    // holds it, and an old one gained on a side that took none out stays gained.
    if (inBase == 0 && inMerged != std::max(inHere, inFound)) {
      return quoted + "a new text was lost";
    }
    if (std::min(inHere, inFound) >= inBase && inMerged < std::max(inHere, inFound)) {
      return quoted + "an addition was lost";
    }
    // Nothing either side took out comes back.
    if (std::max(inHere, inFound) <= inBase && inMerged > std::min(inHere, inFound)) {
      return quoted + "a removal was undone";
    }
  }
  // This side's order is kept, and what came from the other side is on top in its order.
  bool ordered = false;
  for (std::size_t top = 0; top <= merged.size() && !ordered; ++top) {
    ordered =
        InOrder(Texts(merged.begin() + static_cast<std::ptrdiff_t>(top), merged.end()), here) &&
        InOrder(Texts(merged.begin(), merged.begin() + static_cast<std::ptrdiff_t>(top)), found);
  }
  if (!ordered) {
    return std::string("the merge is not this side's list in its order with the other's on top");
  }
  // Taking the same change in again changes nothing, nor does a change the other side made of
  // nothing.
  if (MergeLists(found, merged, found) != merged) {
    return std::string("the same change taken in twice changed the list");
  }
  // Which side merges first decides only the order of what both added.
  if (Counts(MergeLists(base, found, here)) != m) {
    return std::string("the two sides' merges hold different texts");
  }
  // An unchanged side takes the other's list as it is, when it is the base with texts put on top
  // and others taken out.
  const ListChange<std::string> change = CompareLists(KeysInOrder(base), found);
  if (change.simple && MergeLists(base, base, found) != found) {
    return std::string("an unchanged list did not become the other's");
  }
  return std::nullopt;
}

}  // namespace pellix::sync::testing_support
