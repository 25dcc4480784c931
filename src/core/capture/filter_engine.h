#pragma once
// Sorts a taken-in text into the lists: accept-all lists take every text, priority lists take it
// (or its matching lines) when their test passes, and non-priority lists are tried only when no
// priority list took anything. Each list converts what it takes as its filter asks.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/filters/conversion.h"
#include "core/filters/filter_def.h"
#include "core/lists/list_store.h"
#include "core/text/case_fold.h"
#include "core/text/text_services.h"

namespace pellix::capture {

inline constexpr char16_t kFilterFailureMessage[] = u"フィルター処理に失敗しました(;_;)";

struct FilterRun {
  // How many items each list received, by list index: the view shifts its selection by as many.
  std::vector<std::size_t> inserted;
  // The run broke off inside its guarded part; `lastText` is then " " so the next capture is not
  // taken for a repeat, and what was inserted before the failure stays.
  bool failed = false;
};

// Runs every list's filter on `lastText`, which the accept-all lists and whole-text filters
// rewrite with their converted text. A `type` that is no decimal integer throws
// IntegerConversionError before anything changes.
FilterRun RunFilters(lists::ListStore& store, std::string& lastText,
                     const text::TextServices& services);

std::string ApplyConversions(const filters::FilterDef& def, std::string_view text,
                             const text::TextServices& services);

// At least `count` of the space-separated `words` occur in `text` (case ignored, whole
// characters only); a word given twice counts twice.
bool ContainsWords(std::string_view text, std::string_view words, std::int32_t count);
bool ContainsWords(text::FoldedText& text, std::string_view words, std::int32_t count);

// Every character of `text` is one of `characters` (case ignored). A text of nothing but spaces
// and line breaks fails when spaces are allowed, as does an empty text or character set.
bool OnlyLimitingChars(std::string_view text, std::string_view characters);

}  // namespace pellix::capture
