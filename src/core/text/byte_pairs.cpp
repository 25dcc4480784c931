#include "core/text/byte_pairs.h"

namespace pellix::text {

void BytePairs::Assign(std::string_view text) {
  if (text.size() < kWorthwhileBytes) {
    bits_.clear();
    return;
  }
  bits_.assign(0x10000 / 64, 0);
  std::uint64_t* const bits = bits_.data();
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  unsigned previous = bytes[0];
  for (std::size_t pos = 1; pos < size; ++pos) {
    const unsigned current = bytes[pos];
    const unsigned pair = previous << 8 | current;
    bits[pair >> 6] |= std::uint64_t{1} << (pair & 63);
    previous = current;
  }
  last_ = previous;
}

bool BytePairs::MayContain(std::string_view needle) const {
  if (bits_.empty() || needle.empty()) {
    return true;
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(needle.data());
  if (needle.size() == 1) {
    // A byte occurs when it starts some pair (a row of four words) or ends the text.
    const std::size_t row = std::size_t{bytes[0]} * 4;
    return bytes[0] == last_ || (bits_[row] | bits_[row + 1] | bits_[row + 2] | bits_[row + 3]);
  }
  for (std::size_t pos = 0; pos + 1 < needle.size(); ++pos) {
    if (!Has(bytes[pos], bytes[pos + 1])) {
      return false;
    }
  }
  return true;
}

}  // namespace pellix::text
