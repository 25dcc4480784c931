#pragma once
// A text typed into the target as keys rather than pasted: for fields that refuse a paste and for
// remote sessions that share no clipboard. It is typed a slice at a time, so the program stays
// responsive and can stop in between.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/paste/key_events.h"

namespace pellix::paste {

class TypedText {
 public:
  // A line break (CR LF, a lone CR or LF) is one Enter, a tab the Tab key, any other character
  // itself, a surrogate pair as one. Other control characters are left out: typed, they would
  // act as keys (a backspace deletes). With `tabAfter` (tab mode), a Tab follows the text.
  TypedText(std::u16string_view text, bool tabAfter);

  // Counted in what is typed: a line break or a character outside the BMP is one.
  std::size_t Total() const { return characters_.size(); }
  std::size_t Typed() const { return next_; }
  bool Done() const { return next_ == characters_.size(); }

  // The key events of up to `count` further characters, each pressed and let go.
  std::vector<KeyEvent> Next(std::size_t count);

 private:
  struct Character {
    std::uint16_t key = 0;    // Enter or Tab; 0 for the units below
    char16_t units[2] = {};   // one, or a surrogate pair
    std::uint8_t length = 0;  // units in use
  };

  std::vector<Character> characters_;
  std::size_t next_ = 0;
};

}  // namespace pellix::paste
