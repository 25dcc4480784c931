#pragma once
// The filter engine written the plain way, one character at a time, with nothing prepared and
// nothing reused: what the real engine must agree with on any input.

#include <string>

#include "core/capture/filter_engine.h"

namespace pellix::capture::reference {

FilterRun RunFilters(lists::ListStore& store, std::string& lastText);
std::string ApplyConversions(const filters::FilterDef& def, std::string_view text);
bool ContainsWords(std::string_view text, std::string_view words, std::int32_t count);
bool OnlyLimitingChars(std::string_view text, std::string_view characters);
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace pellix::capture::reference
