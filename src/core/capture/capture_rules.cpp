#include "core/capture/capture_rules.h"

#include "core/text/cp932.h"

namespace pellix::capture {

std::optional<std::string> TextToCapture(std::string_view clipboardText,
                                         std::string_view lastText) {
  if (clipboardText.empty() || clipboardText == "\r\n" || clipboardText == lastText) {
    return std::nullopt;
  }
  return std::string(
      clipboardText.substr(0, text::PrefixBytesForChars(clipboardText, kMaxCaptureChars)));
}

}  // namespace pellix::capture
