#pragma once
// Conversions between code page 932 and UTF-16 with one fixed policy for bad input, the same on
// every platform:
// - a lead byte at the very end, or followed by a byte that cannot be a trail byte, becomes
//   U+FFFD, and the byte after it is read on its own (so a broken character never swallows the
//   line break or letter behind it);
// - a well-formed pair that the code page leaves unassigned becomes U+FFFD;
// - the single bytes 0x80, 0xA0 and 0xFD to 0xFF and the user-defined area (lead bytes 0xF0 to
//   0xF9) map as Windows maps them (U+0080, U+F8F0 to U+F8F3, U+E000 to U+E757), both ways, so
//   such bytes survive a round trip;
// - on the way back, a character the code page cannot hold becomes '?', except U+00A5 (yen
//   sign), which becomes 0x5C as on Windows; a surrogate pair becomes a single '?'.

#include <string>
#include <string_view>

#include "core/text/text_services.h"

namespace pellix::text {

inline constexpr char16_t kReplacementChar = u'\uFFFD';

std::u16string Cp932ToUtf16(const TextServices& services, std::string_view text);
std::string Utf16ToCp932(const TextServices& services, std::u16string_view text);

}  // namespace pellix::text
