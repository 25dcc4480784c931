#pragma once
// Byte-level rules of code page 932 (Shift-JIS) text. Everything the program stores is in this
// code page; these helpers never need the platform.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace pellix::text {

// A lead byte starts a two-byte character; whatever byte follows it is its second half.
constexpr bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The second byte of a well-formed two-byte character.
constexpr bool IsTrailByte(unsigned char byte) {
  return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// Byte length of the character that starts at `pos`: 2 for a lead byte with a byte after it,
// otherwise 1. A lead byte at the very end stands alone.
inline std::size_t CharSizeAt(std::string_view text, std::size_t pos) {
  return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// Whether a character starts at `pos` (the end of the text counts), given that one starts at
// `from` (at most `pos`). A byte that is no lead byte always ends a character, so the answer
// is whether the run of lead bytes just before `pos` (not looking before `from`) is even: that
// costs the length of that run, not a walk from `from`.
inline bool StartsCharFrom(std::string_view text, std::size_t from, std::size_t pos) {
  if (pos >= text.size()) {
    return true;
  }
  std::size_t run = pos;
  while (run > from && IsLeadByte(static_cast<unsigned char>(text[run - 1]))) {
    --run;
  }
  return (pos - run) % 2 == 0;
}

// Number of characters; a two-byte character counts as one.
std::size_t CharLength(std::string_view text);

// Byte length of the first `maxChars` characters of `text` (all of it when it is shorter). Never
// ends between the two bytes of a character.
std::size_t PrefixBytesForChars(std::string_view text, std::size_t maxChars);

// Calls `onLine(std::string_view)` for each line, splitting as SplitLines does, without copying.
template <typename OnLine>
void ForEachLine(std::string_view text, OnLine&& onLine) {
  const char* const end = text.data() + text.size();
  const char* start = text.data();
  const char* pos = start;
  while (pos != end) {
    // Eight bytes at a time while none of them can end a line (all are above CR).
    if (end - pos >= 8) {
      std::uint64_t word;
      std::memcpy(&word, pos, 8);
      constexpr std::uint64_t kEveryByte = 0x0101010101010101;
      if (((word - kEveryByte * ('\r' + 1)) & ~word & (kEveryByte * 0x80)) == 0) {
        pos += 8;
        continue;
      }
    }
    const char ch = *pos;
    if (ch == '\0') {
      break;
    }
    if (ch != '\r' && ch != '\n') {
      ++pos;
      continue;
    }
    onLine(std::string_view(start, static_cast<std::size_t>(pos - start)));
    ++pos;
    if (ch == '\r' && pos != end && *pos == '\n') {
      ++pos;
    }
    start = pos;
  }
  if (pos != start) {
    onLine(std::string_view(start, static_cast<std::size_t>(pos - start)));
  }
}

// Splits at CR LF, lone CR and lone LF. A break at the very end adds no empty line, and a NUL
// byte ends the text. An empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// The file name part of a path (after the last '\\' or ':') without its last extension.
std::string FileBaseName(std::string_view path);

}  // namespace pellix::text
