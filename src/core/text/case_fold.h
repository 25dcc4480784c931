#pragma once
// Comparing code page 932 text without regard to letter case, one character at a time: ASCII,
// full-width Latin, Greek, Cyrillic and the Roman numerals all have a case.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pellix::text {

// The upper-case form of the character at `pos` as a number (one byte, or lead << 8 | trail).
unsigned FoldedCharAt(std::string_view text, std::size_t pos);

// The position of the first occurrence of `needle` in `text` at or after `from` that starts on
// a character boundary and matches character for character with case ignored; npos if none.
// `from` must itself be a character boundary.
std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from = 0);

// Case mappings done here rather than by the platform: every cased letter of the code page has
// its other case at the same byte length, and a byte that is no letter (a broken one too) stays.
std::string ToUpperCase(std::string_view text);
std::string ToLowerCase(std::string_view text);

// A text prepared for many case-blind searches: its upper-case form and where its characters
// start, so each search is a plain byte search.
class FoldedText {
 public:
  explicit FoldedText(std::string_view text);
  // `foldedNeedle` must itself be upper case (ToUpperCase).
  bool Contains(std::string_view foldedNeedle) const;

 private:
  std::string upper_;
  std::vector<unsigned char> starts_;
};

struct CaseFoldPair {
  unsigned short lower;
  unsigned short upper;
};
const CaseFoldPair* CaseFoldPairsBegin();
const CaseFoldPair* CaseFoldPairsEnd();

}  // namespace pellix::text
