#pragma once
// What the user is told when the keys of a paste could not land: what happened, and where the
// text is. Said in a balloon, never in a box that would stop the work, and kept in the tray
// icon's tip until the next paste, where balloons are not shown.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/app/notice.h"
#include "core/paste/key_gate.h"

namespace pellix::app {

struct PasteNotice {
  Notice balloon;
  std::u16string tip;  // at most kTipLength units
};

// The tray icon's tip holds 127 characters and its end.
inline constexpr std::size_t kTipLength = 127;

// Nothing for a paste that arrived or a typing the user stopped with Esc. `typedPaste`: the
// text was to be typed as keys (and so was never put on the clipboard); `typed` and `total`
// count its characters.
std::optional<PasteNotice> PasteFailureNotice(paste::Outcome outcome, bool typedPaste,
                                              std::size_t typed = 0, std::size_t total = 0);

// The tip of the tray icon when it says nothing else.
std::u16string PlainTip();

// The tip while a long text is typed: nothing during the first second (a short text is typed
// before anyone could read it), then how far it has come, renewed a few times a second.
class TypingTip {
 public:
  explicit TypingTip(std::uint64_t startMs) : start_(startMs) {}
  std::optional<std::u16string> At(std::size_t typed, std::size_t total, std::uint64_t nowMs);

 private:
  std::uint64_t start_;
  std::optional<std::uint64_t> shownAt_;
};

}  // namespace pellix::app
