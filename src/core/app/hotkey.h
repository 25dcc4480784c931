#pragma once
// The global hotkey: the five modifier sets the hotkey menu offers, and what a typed entry makes
// of the key.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace pellix::app {

// MOD_CONTROL, MOD_SHIFT, MOD_ALT, both Control and Shift, both Control and Alt: the hotkey
// menu's items from top to bottom.
inline constexpr std::array<std::uint32_t, 5> kHotkeyModsByMenuPosition = {2, 4, 1, 6, 3};
inline constexpr std::uint32_t kModAlt = 1;

struct Hotkey {
  std::uint32_t mods = 2;
  char letter = 'A';  // used as the virtual-key code; 0 while no hotkey is registered
};

// The menu position that carries the check for these modifiers, or nullopt for values the menu
// cannot set (written into the settings by hand).
std::optional<int> HotkeyMenuPosition(std::uint32_t mods);

// The key a typed entry (code page 932) asks for: exactly one byte, a lower-case ASCII letter
// taken as its capital (virtual-key codes of letters are the capitals). Anything else, a
// two-byte character included, is no key.
std::optional<char> HotkeyLetterFromEntry(std::string_view entry);

}  // namespace pellix::app
