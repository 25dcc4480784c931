#include "core/settings/colors.h"

#include <array>
#include <cstdio>

#include "core/io/integer.h"
#include "core/text/ascii.h"

namespace pellix::settings {
namespace {

struct NamedColor {
  std::string_view name;
  std::uint32_t value;
};

constexpr std::array<NamedColor, 50> kNames = {{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clScrollBar", kSystemColor + 0},
    {"clBackground", kSystemColor + 1},
    {"clActiveCaption", kSystemColor + 2},
    {"clInactiveCaption", kSystemColor + 3},
    {"clMenu", kSystemColor + 4},
    {"clWindow", kSystemColor + 5},
    {"clWindowFrame", kSystemColor + 6},
    {"clMenuText", kSystemColor + 7},
    {"clWindowText", kSystemColor + 8},
    {"clCaptionText", kSystemColor + 9},
    {"clActiveBorder", kSystemColor + 10},
    {"clInactiveBorder", kSystemColor + 11},
    {"clAppWorkSpace", kSystemColor + 12},
    {"clHighlight", kSystemColor + 13},
    {"clHighlightText", kSystemColor + 14},
    {"clBtnFace", kSystemColor + 15},
    {"clBtnShadow", kSystemColor + 16},
    {"clGrayText", kSystemColor + 17},
    {"clBtnText", kSystemColor + 18},
    {"clInactiveCaptionText", kSystemColor + 19},
    {"clBtnHighlight", kSystemColor + 20},
    {"cl3DDkShadow", kSystemColor + 21},
    {"cl3DLight", kSystemColor + 22},
    {"clInfoText", kSystemColor + 23},
    {"clInfoBk", kSystemColor + 24},
    {"clHotLight", kSystemColor + 26},
    {"clGradientActiveCaption", kSystemColor + 27},
    {"clGradientInactiveCaption", kSystemColor + 28},
    {"clMenuHighlight", kSystemColor + 29},
    {"clMenuBar", kSystemColor + 30},
}};
constexpr std::array<NamedColor, 2> kSpecial = {
    {{"clNone", 0x1FFFFFFF}, {"clDefault", 0x20000000}}};

int HexDigit(char ch) {
  if (ch >= '0' && ch <= '9') {
    return ch - '0';
  }
  if (ch >= 'a' && ch <= 'f') {
    return ch - 'a' + 10;
  }
  if (ch >= 'A' && ch <= 'F') {
    return ch - 'A' + 10;
  }
  return -1;
}

}  // namespace

std::string FormatColor(std::uint32_t color) {
  for (const auto* table : {kNames.data(), kSpecial.data()}) {
    const std::size_t count = table == kNames.data() ? kNames.size() : kSpecial.size();
    for (std::size_t i = 0; i < count; ++i) {
      if (table[i].value == color) {
        return std::string(table[i].name);
      }
    }
  }
  char hex[10];
  std::snprintf(hex, sizeof hex, "$%08X", static_cast<unsigned>(color));
  return hex;
}

std::optional<std::uint32_t> ParseColor(std::string_view text) {
  for (const auto& named : kNames) {
    if (text::EqualsIgnoringAsciiCase(named.name, text)) {
      return named.value;
    }
  }
  for (const auto& named : kSpecial) {
    if (text::EqualsIgnoringAsciiCase(named.name, text)) {
      return named.value;
    }
  }
  if (text.size() > 1 && text.front() == '$' && text.size() <= 9) {
    std::uint32_t value = 0;
    for (const char ch : text.substr(1)) {
      const int digit = HexDigit(ch);
      if (digit < 0) {
        return std::nullopt;
      }
      value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
  }
  if (const std::optional<std::int32_t> number = io::TryParseInt32(text)) {
    return static_cast<std::uint32_t>(*number);
  }
  return std::nullopt;
}

std::optional<ShownColor> ShownColorOf(std::uint32_t color) {
  constexpr std::uint32_t kNone = 0x1FFFFFFF;
  constexpr std::uint32_t kDefault = 0x20000000;
  if (color == kNone || color == kDefault) {
    return std::nullopt;
  }
  if ((color & kSystemColor) != 0) {
    return ShownColor{static_cast<int>(color & 0xFF), 0};
  }
  return ShownColor{std::nullopt, color & 0xFFFFFF};
}

}  // namespace pellix::settings
