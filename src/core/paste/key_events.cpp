#include "core/paste/key_events.h"

#include <algorithm>

namespace pellix::paste {
namespace {

KeyEvent Down(std::uint16_t key) {
  return KeyEvent{key, u'\0', false};
}
KeyEvent Up(std::uint16_t key) {
  return KeyEvent{key, u'\0', true};
}

bool AltOrWin(std::uint16_t key) {
  return key == keys::kLeftAlt || key == keys::kRightAlt || key == keys::kLeftWin ||
         key == keys::kRightWin;
}

void TapMaskIfNeeded(const HeldKeys& held, std::vector<KeyEvent>& events) {
  if (std::any_of(held.begin(), held.end(), AltOrWin)) {
    events.push_back(Down(keys::kMask));
    events.push_back(Up(keys::kMask));
  }
}

}  // namespace

std::vector<KeyEvent> AroundHeldKeys(const HeldKeys& held, const std::vector<KeyEvent>& inner) {
  std::vector<KeyEvent> events;
  events.reserve(inner.size() + 2 * held.size() + 4);
  TapMaskIfNeeded(held, events);
  for (const std::uint16_t key : held) {
    events.push_back(Up(key));
  }
  events.insert(events.end(), inner.begin(), inner.end());
  for (const std::uint16_t key : held) {
    events.push_back(Down(key));
  }
  // The user lets these keys go later; without a key between, that would be a lone press.
  TapMaskIfNeeded(held, events);
  return events;
}

std::vector<KeyEvent> PasteKeys(const HeldKeys& held, bool tab) {
  std::vector<KeyEvent> strokes = {Down(keys::kControl), Down(keys::kV), Up(keys::kV),
                                   Up(keys::kControl)};
  if (tab) {
    strokes.push_back(Down(keys::kTab));
    strokes.push_back(Up(keys::kTab));
  }
  return AroundHeldKeys(held, strokes);
}

}  // namespace pellix::paste
