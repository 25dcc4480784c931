#pragma once
// When the keys of a paste may go: only once its target is in front (which the system does
// asynchronously) and the user has let go of the modifiers, which would turn Ctrl+V into another
// shortcut. Neither is waited for long, and a typed text stops as soon as its target is no longer
// the window in front.

#include <cstdint>
#include <optional>

namespace pellix::paste {

// How a paste ended.
enum class Outcome {
  kDelivered,
  kNoTarget,    // no window of another program has been seen yet
  kTargetGone,  // the target was closed
  kNotInFront,  // it did not come to the front
  kElevated,    // it runs at a higher integrity level, which drops our keys
  kLostFront,   // another window came to the front while a text was typed
  kCancelled,   // Esc while a text was typed
};

// What the desktop showed at one look.
struct TargetLook {
  bool alive = true;
  bool inFront = false;
  bool modifiersHeld = false;
  bool escapePressed = false;
};

class KeyGate {
 public:
  // The target is given this long to come forward, and the user this long to let go of the
  // modifiers; what is still held then is let go for the keys (AroundHeldKeys).
  static constexpr std::uint64_t kComeForwardMs = 1000;
  static constexpr std::uint64_t kLetGoMs = 500;

  explicit KeyGate(std::uint64_t nowMs) : waitingSince_(nowMs) {}

  // nullopt: wait and look again; kDelivered: type now; anything else: stop.
  std::optional<Outcome> Look(const TargetLook& look, std::uint64_t nowMs);
  // Keys went: the next slice of a text gives the user the same time to let go.
  void Typed(std::uint64_t nowMs) { waitingSince_ = nowMs; }

 private:
  std::uint64_t waitingSince_;
  bool wasInFront_ = false;
};

}  // namespace pellix::paste
