#pragma once
// Comparing code page 932 text without regard to letter case, one character at a time: ASCII,
// full-width Latin, Greek, Cyrillic and the Roman numerals all have a case.

#include <cstddef>
#include <string_view>

namespace pellix::text {

// The upper-case form of the character at `pos` as a number (one byte, or lead << 8 | trail).
unsigned FoldedCharAt(std::string_view text, std::size_t pos);

// The position of the first occurrence of `needle` in `text` at or after `from` that starts on
// a character boundary and matches character for character with case ignored; npos if none.
// `from` must itself be a character boundary.
std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from = 0);

struct CaseFoldPair {
  unsigned short lower;
  unsigned short upper;
};
const CaseFoldPair* CaseFoldPairsBegin();
const CaseFoldPair* CaseFoldPairsEnd();

}  // namespace pellix::text
