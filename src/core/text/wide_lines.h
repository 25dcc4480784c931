#pragma once
// Line splitting of UTF-16 text: at CR LF, CR, LF and U+2028 (the line separator that
// Unicode-aware programs put on the clipboard); a break at the very end adds no empty line.

#include <string_view>
#include <vector>

namespace pellix::text {

std::vector<std::u16string_view> SplitWideLines(std::u16string_view text);

}  // namespace pellix::text
