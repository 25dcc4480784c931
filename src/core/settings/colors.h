#pragma once
// Colour values of the settings file: 0x00BBGGRR, 0x80000000 + a system colour index, or one of
// two special values; written by name where there is one, else as "$" and eight hex digits.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pellix::settings {

inline constexpr std::uint32_t kSystemColor = 0x80000000;
inline constexpr std::uint32_t kWindowTextColor = kSystemColor + 8;  // clWindowText

std::string FormatColor(std::uint32_t color);

// A name (letter case ignored), a decimal number or "$" and hexadecimal digits; nullopt for
// anything else.
std::optional<std::uint32_t> ParseColor(std::string_view text);

}  // namespace pellix::settings
