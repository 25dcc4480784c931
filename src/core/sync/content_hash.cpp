#include "core/sync/content_hash.h"

#include <algorithm>
#include <cstring>

namespace pellix::sync {
namespace {

constexpr std::uint64_t kSeed = 0x9E3779B97F4A7C15ull;

std::uint64_t Mix(std::uint64_t value) {
  value ^= value >> 30;
  value *= 0xBF58476D1CE4E5B9ull;
  value ^= value >> 27;
  value *= 0x94D049BB133111EBull;
  value ^= value >> 31;
  return value;
}

std::uint64_t Step(std::uint64_t state, std::uint64_t word) {
  state ^= Mix(word + kSeed);
  return (state << 23 | state >> 41) * 0x9FB21C651E98DF25ull;
}

std::uint64_t Word(const unsigned char* bytes) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

}  // namespace

void StreamHash::Add(std::string_view bytes) {
  if (bytes.empty()) {
    return;  // an empty piece may have no bytes to point at
  }
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  std::size_t size = bytes.size();
  length_ += size;
  if (pendingCount_ != 0) {
    const std::size_t take = std::min(size, sizeof pending_ - pendingCount_);
    std::memcpy(pending_ + pendingCount_, data, take);
    pendingCount_ += take;
    data += take;
    size -= take;
    if (pendingCount_ < sizeof pending_) {
      return;
    }
    state_ = Step(state_, Word(pending_));
    pendingCount_ = 0;
  }
  for (; size >= 8; data += 8, size -= 8) {
    state_ = Step(state_, Word(data));
  }
  std::memcpy(pending_, data, size);
  pendingCount_ = size;
}

std::uint64_t StreamHash::Value() const {
  unsigned char last[8] = {};
  std::memcpy(last, pending_, pendingCount_);
  // The length goes in last, so that trailing zero bytes still count.
  return Mix(Step(Step(state_, Word(last)), length_));
}

std::uint64_t HashBytes(std::string_view bytes) {
  StreamHash hash;
  hash.Add(bytes);
  return hash.Value();
}

std::uint64_t HashText(std::u16string_view text) {
  return HashBytes(
      std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)));
}

}  // namespace pellix::sync
