#pragma once
// The test of one filter, prepared once per run from its definition: the check words already
// in upper case, the permitted characters as a set, so that testing each line of a long capture
// is a search and nothing else.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/filters/filter_def.h"
#include "core/text/case_fold.h"

namespace pellix::filters {

// At least `count` of the half-width-space-separated words occur in a text, case ignored and on
// character boundaries; a word given twice counts twice.
class CheckWords {
 public:
  CheckWords(std::string_view words, std::int32_t count);

  // The answer when it does not depend on the text: always for a count of 0 or less, never for
  // a count above the number of words.
  std::optional<bool> Settled() const;
  bool Passes(text::FoldedText& text) const;

 private:
  std::vector<std::string> folded_;
  std::int32_t count_;
};

// Every character of a text is one of the permitted ones (case ignored); a text of nothing but
// spaces and line breaks fails when a space is permitted, as does an empty text or set.
class LimitingChars {
 public:
  explicit LimitingChars(std::string_view characters);
  bool Allows(std::string_view text) const;

 private:
  bool Has(unsigned folded) const;

  std::array<std::uint64_t, 4> singles_{};  // one-byte characters, folded
  std::vector<unsigned short> doubles_;     // two-byte characters, folded, sorted
  bool empty_;
  bool spaceAllowed_;
};

// The test a priority or non-priority filter applies: its permitted characters when it has
// any, otherwise its two rows of check words.
class FilterMatch {
 public:
  explicit FilterMatch(const FilterDef& def);

  // Whether `Passes` looks at the folded text at all; when not, any FoldedText will do.
  bool NeedsFoldedText() const { return needsFolded_; }
  // `folded` is `subject` prepared for case-blind search (when NeedsFoldedText).
  bool Passes(std::string_view subject, text::FoldedText& folded) const;

 private:
  std::optional<LimitingChars> limiting_;
  CheckWords first_;
  std::optional<CheckWords> second_;  // only when its words are not empty
  bool needsFolded_;
};

}  // namespace pellix::filters
