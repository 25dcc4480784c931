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

// How a stored colour is drawn: one of the system's colours (its index for GetSysColor) or the
// red, green and blue it holds (0x00BBGGRR).
struct ShownColor {
  std::optional<int> systemIndex;
  std::uint32_t rgb = 0;
  bool operator==(const ShownColor&) const = default;
};

// Nothing for clNone and clDefault: the control keeps its own colour.
std::optional<ShownColor> ShownColorOf(std::uint32_t color);

// A name (letter case ignored), a decimal number or "$" and hexadecimal digits; nullopt for
// anything else.
std::optional<std::uint32_t> ParseColor(std::string_view text);

}  // namespace pellix::settings
