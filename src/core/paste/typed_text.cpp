#include "core/paste/typed_text.h"

#include <algorithm>

namespace pellix::paste {
namespace {

bool HighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool LowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

TypedText::TypedText(std::u16string_view text, bool tabAfter) {
  characters_.reserve(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit == u'\r' || unit == u'\n') {
      if (unit == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
        ++i;
      }
      characters_.push_back(Character{keys::kEnter, {}, 0});
    } else if (unit == u'\t') {
      characters_.push_back(Character{keys::kTab, {}, 0});
    } else if (unit < 0x20 || unit == 0x7F) {
      continue;
    } else if (HighSurrogate(unit) && i + 1 < text.size() && LowSurrogate(text[i + 1])) {
      characters_.push_back(Character{0, {unit, text[i + 1]}, 2});
      ++i;
    } else {
      characters_.push_back(Character{0, {unit, u'\0'}, 1});
    }
  }
  if (tabAfter) {
    characters_.push_back(Character{keys::kTab, {}, 0});
  }
}

std::vector<KeyEvent> TypedText::Next(std::size_t count) {
  const std::size_t end = std::min(characters_.size(), next_ + count);
  std::vector<KeyEvent> events;
  events.reserve((end - next_) * 4);
  for (; next_ < end; ++next_) {
    const Character& character = characters_[next_];
    if (character.key != 0) {
      events.push_back(KeyEvent{character.key, u'\0', false});
      events.push_back(KeyEvent{character.key, u'\0', true});
      continue;
    }
    // The halves of a surrogate pair arrive as two characters, which is how the target's
    // window gets them from a keyboard too.
    for (std::uint8_t k = 0; k < character.length; ++k) {
      events.push_back(KeyEvent{0, character.units[k], false});
      events.push_back(KeyEvent{0, character.units[k], true});
    }
  }
  return events;
}

std::size_t TypingPace::Due(std::uint64_t nowMs) {
  if (nowMs > lastMs_) {
    credit_ += (nowMs - lastMs_) * kPerSecond;
    lastMs_ = nowMs;
  }
  credit_ = std::min<std::uint64_t>(credit_, kMostAtOnce * 1000);
  const auto due = static_cast<std::size_t>(credit_ / 1000);
  credit_ -= due * 1000;
  return due;
}

}  // namespace pellix::paste
