#include "core/app/list_tooltip.h"

#include "core/text/cp932.h"

namespace pellix::app {

namespace {
constexpr std::size_t kShownLines = 5;
}  // namespace

std::string AnsiTooltipText(std::string_view item) {
  std::string text;
  std::size_t lines = 0;
  text::ForEachLine(item, [&](std::string_view line) {
    if (lines < kShownLines) {
      text.append(line).append("\r\n");
    }
    ++lines;
  });
  if (lines <= kShownLines) {
    return std::string(item);
  }
  text.append(kMoreLinesLine);
  // Blanks and control characters are the bytes up to the space; none of them is ever the
  // second byte of a two-byte character.
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) {
    text.pop_back();
  }
  return text;
}

}  // namespace pellix::app
