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

// How fast a text is typed: about kPerSecond characters a second (a keystroke every 10 ms, as
// auto-typing tools do by default), which slow targets keep up with (a remote console, a virtual
// machine's window, an editor under Wine), so that Esc or another window in front stops the
// typing where it is rather than behind a queue of keys already sent. A pause (the user held a
// modifier) earns no burst afterwards.
class TypingPace {
 public:
  static constexpr std::uint64_t kPerSecond = 100;
  static constexpr std::size_t kMostAtOnce = 16;

  // The first character is due at once.
  explicit TypingPace(std::uint64_t startMs) : lastMs_(startMs) {}
  // Characters due now, since the last call.
  std::size_t Due(std::uint64_t nowMs);

 private:
  std::uint64_t lastMs_;
  std::uint64_t credit_ = 1000;  // in thousandths of a character
};

}  // namespace pellix::paste
