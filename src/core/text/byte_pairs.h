#pragma once
// Which two-byte sequences occur in a text. A needle that holds any other pair cannot be in it,
// so most of the many searches the filters make in one long text (eight rows of replacements
// per list, a handful of check words) end before they start.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pellix::text {

class BytePairs {
 public:
  // Below this many bytes a plain search costs less than noting the pairs.
  static constexpr std::size_t kWorthwhileBytes = 512;

  // Knows nothing: every needle may occur.
  BytePairs() = default;

  // Notes the pairs of `text`, or knows nothing when it is too short for that to pay.
  void Assign(std::string_view text);

  // False only when `needle` occurs nowhere in the text byte for byte (character boundaries
  // are the searcher's business); an empty needle occurs everywhere.
  bool MayContain(std::string_view needle) const;

 private:
  bool Has(unsigned first, unsigned second) const {
    const unsigned pair = first << 8 | second;
    return (bits_[pair >> 6] >> (pair & 63)) & 1;
  }

  std::vector<std::uint64_t> bits_;  // one bit per pair, lead byte major; empty: nothing known
  unsigned last_ = 0;                // the last byte, which starts no pair
};

}  // namespace pellix::text
