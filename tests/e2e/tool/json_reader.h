// The one JSON shape pxtool reads: a command line as an array of strings, e.g.
// ["send","0x1234","WM_NULL","0","0"]. Any text fits in it (tabs, line breaks, any Unicode, also
// a lone surrogate written as its \u escape), which no separator-based line format could promise.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pxtool {

// Fails with exit code 2 (wrong usage) when the line is not exactly one such array.
std::vector<std::wstring> ParseStringArray(std::string_view json);

}  // namespace pxtool
