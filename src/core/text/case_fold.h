#pragma once
// Comparing code page 932 text without regard to letter case, one character at a time: ASCII,
// full-width Latin, Greek, Cyrillic and the Roman numerals all have a case.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pellix::text {

// One direction of the case mapping of two-byte characters. Only six lead bytes hold cased
// letters, so the table keeps a row for each of those alone: a full 256 × 256 table, nearly all
// zero, would cost a cache miss on every kanji of a long text.
class TwoByteCaseMap {
 public:
  static constexpr std::size_t kMaxRows = 8;

  // The code that (lead, trail) maps to, or 0 when the character has no other case.
  unsigned short Map(unsigned char lead, unsigned char trail) const {
    const std::uint8_t row = rowOfLead_[lead];
    return row == 0 ? 0 : rows_[row - 1][trail];
  }
  // Whether any character with this lead byte has another case.
  bool HasCasedLetters(unsigned char lead) const { return rowOfLead_[lead] != 0; }

  // Sets the mapping of `from`, replacing the one it had.
  void Set(unsigned short from, unsigned short to);

 private:
  std::array<std::uint8_t, 256> rowOfLead_{};  // 0: no row; otherwise row index + 1
  std::array<std::array<unsigned short, 256>, kMaxRows> rows_{};
  std::size_t used_ = 0;
};

// Lower case to upper case, and upper case to lower case (where the code page writes a
// character twice, the copy that the platform writes).
const TwoByteCaseMap& UpperCaseMap();
const TwoByteCaseMap& LowerCaseMap();

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
// The same, in place; whether anything changed.
bool MakeUpperCase(std::string& text);
bool MakeLowerCase(std::string& text);

// A text prepared for many case-blind searches: its upper-case form, so each search is a plain
// byte search. The text is folded only as far as the searches have needed so far: a check
// word is mostly found near the start of a long capture, and one that is found ends the test.
class FoldedText {
 public:
  FoldedText() = default;
  explicit FoldedText(std::string_view text) { Assign(text); }
  // Prepares another text, keeping the memory already held (one per line of a capture).
  void Assign(std::string_view text);
  // `foldedNeedle` must itself be upper case (ToUpperCase).
  bool Contains(std::string_view foldedNeedle);

 private:
  // Folds about as much again as is folded; false when everything is folded already.
  bool FoldFurther();

  std::string upper_;       // upper case up to `folded_`, the text as it was after
  std::size_t folded_ = 0;  // a character starts here (or the text ends)
};

struct CaseFoldPair {
  unsigned short lower;
  unsigned short upper;
};
const CaseFoldPair* CaseFoldPairsBegin();
const CaseFoldPair* CaseFoldPairsEnd();

}  // namespace pellix::text
