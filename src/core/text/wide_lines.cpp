#include "core/text/wide_lines.h"

namespace pellix::text {

std::vector<std::u16string_view> SplitWideLines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t brk = text.find_first_of(u"\r\n\u2028", start);
    if (brk == std::u16string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, brk - start));
    start = brk + 1;
    if (text[brk] == u'\r' && start < text.size() && text[start] == u'\n') {
      ++start;
    }
  }
  return lines;
}

}  // namespace pellix::text
