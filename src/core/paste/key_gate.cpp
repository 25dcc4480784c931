#include "core/paste/key_gate.h"

namespace pellix::paste {

std::optional<Outcome> KeyGate::Look(const TargetLook& look, std::uint64_t nowMs) {
  if (look.escapePressed) {
    return Outcome::kCancelled;
  }
  if (!look.alive) {
    return Outcome::kTargetGone;
  }
  const std::uint64_t waited = nowMs - waitingSince_;
  if (!look.inFront) {
    // Once it was in front, keys now would go to the window that took its place.
    if (wasInFront_) {
      return Outcome::kLostFront;
    }
    return waited < kComeForwardMs ? std::nullopt : std::optional(Outcome::kNotInFront);
  }
  wasInFront_ = true;
  if (look.modifiersHeld && waited < kLetGoMs) {
    return std::nullopt;
  }
  return Outcome::kDelivered;
}

}  // namespace pellix::paste
