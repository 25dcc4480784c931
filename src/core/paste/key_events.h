#pragma once
// The keys a paste sends: Ctrl+V and the Tab of tab mode, or a text typed character by
// character; around them, the modifiers the user still holds are let go and pressed again, so
// that the target sees exactly the keys meant and the keyboard afterwards matches the fingers.

#include <array>
#include <cstdint>
#include <vector>

namespace pellix::paste {

// Windows' virtual-key codes of the keys that matter here; the core only passes them on.
namespace keys {
inline constexpr std::uint16_t kTab = 0x09;
inline constexpr std::uint16_t kEnter = 0x0D;
inline constexpr std::uint16_t kControl = 0x11;
inline constexpr std::uint16_t kEscape = 0x1B;
inline constexpr std::uint16_t kV = 0x56;
inline constexpr std::uint16_t kLeftWin = 0x5B;
inline constexpr std::uint16_t kRightWin = 0x5C;
inline constexpr std::uint16_t kLeftShift = 0xA0;
inline constexpr std::uint16_t kRightShift = 0xA1;
inline constexpr std::uint16_t kLeftControl = 0xA2;
inline constexpr std::uint16_t kRightControl = 0xA3;
inline constexpr std::uint16_t kLeftAlt = 0xA4;
inline constexpr std::uint16_t kRightAlt = 0xA5;
// Assigned to no key and acted on by no program: tapped between an Alt or Windows key going
// down and going up, so that the two do not make a lone press, which would open the target's
// menu bar or the Start menu.
inline constexpr std::uint16_t kMask = 0xE8;
}  // namespace keys

// The modifiers, each side by itself: a key held on the right must be let go on the right.
inline constexpr std::array<std::uint16_t, 8> kModifierKeys = {
    keys::kLeftShift, keys::kRightShift, keys::kLeftControl, keys::kRightControl,
    keys::kLeftAlt,   keys::kRightAlt,   keys::kLeftWin,     keys::kRightWin,
};

// One event for the target: a key going down or up, or (key 0) one UTF-16 unit typed as a
// character whatever the keyboard layout.
struct KeyEvent {
  std::uint16_t key = 0;
  char16_t unit = 0;
  bool up = false;

  bool operator==(const KeyEvent&) const = default;
};

// Modifier keys down at the moment, from kModifierKeys.
using HeldKeys = std::vector<std::uint16_t>;

// `inner` with what is held let go before it and pressed again after it.
std::vector<KeyEvent> AroundHeldKeys(const HeldKeys& held, const std::vector<KeyEvent>& inner);

// Ctrl+V, then a Tab in tab mode, with the held modifiers out of the way.
std::vector<KeyEvent> PasteKeys(const HeldKeys& held, bool tab);

}  // namespace pellix::paste
