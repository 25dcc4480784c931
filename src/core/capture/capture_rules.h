#pragma once
// Which clipboard texts are taken in, and how much of them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pellix::capture {

inline constexpr std::size_t kMaxCaptureChars = 10000;

// The text to hand to the filters, or nothing for an empty text, a bare CR LF or a repeat of
// `lastText`. A text longer than 10,000 characters (a two-byte character counting one) is cut
// there, never inside a character. The repeat check looks at the whole new text.
std::optional<std::string> TextToCapture(std::string_view clipboardText, std::string_view lastText);

}  // namespace pellix::capture
