#pragma once
// A 64-bit hash of bytes, for telling texts and files apart without keeping them: an item list's
// earlier version is kept as the hashes of its items, a file's as the hash of its content. Not
// meant to withstand texts made to collide.

#include <cstdint>
#include <string_view>

namespace pellix::sync {

std::uint64_t HashBytes(std::string_view bytes);

// The hash of a text's bytes as they lie in memory (UTF-16 in the platform's order).
inline std::uint64_t HashText(std::string_view text) {
  return HashBytes(text);
}
std::uint64_t HashText(std::u16string_view text);

// The hash of bytes that arrive in pieces: the same as HashBytes of them joined.
class StreamHash {
 public:
  void Add(std::string_view bytes);
  std::uint64_t Value() const;

 private:
  std::uint64_t state_ = 0;
  std::uint64_t length_ = 0;
  unsigned char pending_[8] = {};
  std::size_t pendingCount_ = 0;
};

}  // namespace pellix::sync
