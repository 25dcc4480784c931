#pragma once
// The user locale's order for builds without Win32, modelled on the order Windows gives Japanese
// text: texts are compared first by the base form of every character (symbols, digits, Latin,
// Greek, Cyrillic, kana in syllabary order, kanji in code page 932 order), then by voiced marks,
// then by case, width and kind of kana, and last by hyphens and apostrophes, which the first
// comparison passes over as Windows' word sort does.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pellix::posix {

// Index: a UTF-16 value; the code page 932 code of that character, 0 when it has none.
using Cp932Codes = std::array<std::uint16_t, 0x10000>;

// Bytes whose plain byte order is the order of the texts. `ignoreCase` leaves letter case out
// (but not width or the kind of kana).
std::string CollationKey(std::u16string_view text, const Cp932Codes& codes, bool ignoreCase);

}  // namespace pellix::posix
