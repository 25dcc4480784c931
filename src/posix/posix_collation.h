#pragma once
// The user locale's order for builds without Win32, modelled on the order Windows gives Japanese
// text: texts are compared first by the base form of every character (symbols, digits, Latin,
// Greek, Cyrillic, kana in syllabary order, kanji in code page 932 order), then by voiced marks,
// then by case, width and kind of kana, and last by hyphens and apostrophes, which the first
// comparison passes over as Windows' word sort does.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace pellix::posix {

// Index: a UTF-16 value; the code page 932 code of that character, 0 when it has none.
using Cp932Codes = std::array<std::uint16_t, 0x10000>;

class Collation {
 public:
  explicit Collation(const Cp932Codes& codes);

  // Bytes whose plain byte order is the order of the texts. `ignoreCase` leaves letter case out
  // (but not width or the kind of kana).
  std::string Key(std::u16string_view text, bool ignoreCase) const;

 private:
  static constexpr unsigned char kSpecial = 0xFF;  // `length` of a hyphen or apostrophe

  // Everything the key needs of one UTF-16 value, worked out once.
  struct Entry {
    std::array<unsigned char, 3> primary{};
    unsigned char length = 0;  // of `primary`; 0: the character is left out altogether
    unsigned char mark = 0;
    unsigned char form = 0;
    unsigned char caselessForm = 0;  // the form with letter case left out
  };
  using Table = std::array<Entry, 0x10000>;
  std::unique_ptr<Table> table_;
};

}  // namespace pellix::posix
