#pragma once
// "pellix.ini": key=value lines in code page 932. Keys are found without regard to case, the
// first matching line wins, and a value is everything after the first '=', untrimmed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellix::settings {

inline constexpr std::u16string_view kSettingsFileName = u"pellix.ini";

// What a settings file asks the start-up to do, read completely before anything is applied.
struct SettingsPlan {
  int left = 0;
  int top = 0;
  std::optional<int> width;   // only a value above 100 is applied
  std::optional<int> height;  // likewise
  std::optional<int> fontSize;
  std::optional<std::uint32_t> fontColor;
  bool sendTab = false;
  bool memo = false;
  bool trans = false;
  std::optional<int> option;  // the paste option position to check; outside 0..9 checks none
  bool lock = false;
  std::vector<std::string> lists;  // code page 932 names, up to the first gap
  std::optional<int> view;         // read only when some list is named
  std::optional<std::uint32_t> hotkeyMods;
  std::optional<char> hotkeyLetter;
};

// Reads in the order of the keys; the first bad value throws IntegerConversionError ("'%s' is
// not a valid integer value") or, for a negative view, RangeError. The message's second line
// names the file and the key ("pellix.ini: width"), and a required key without a line says that
// it is missing ("pellix.ini: width がありません").
SettingsPlan ParseSettings(std::string_view content);

// Everything the program writes back.
struct SettingsState {
  int left = 0;
  int top = 0;
  int height = 0;
  int width = 0;
  int fontSize = 9;
  std::uint32_t fontColor = 0;
  bool sendTab = false;
  bool lock = false;
  bool memo = false;
  bool trans = false;
  std::optional<int> option;  // the checked paste option position; none writes no line
  std::vector<std::string> lists;
  int view = 0;  // the selector's index, -1 when nothing is selected
  std::uint32_t hotkeyMods = 2;
  char hotkeyLetter = 'A';
};

std::string FormatSettings(const SettingsState& state);

}  // namespace pellix::settings
