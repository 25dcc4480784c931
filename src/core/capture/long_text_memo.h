#pragma once
// What one run of the filters has worked out about the long texts it met: their folded form for
// the check words, and what each list's conversions made of them. A long capture usually passes
// through several lists unchanged, or changed the same way, and its only line is the text
// itself: each of those is then a comparison instead of another walk over ten thousand
// characters.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/text/case_fold.h"

namespace pellix::capture {

class LongTextMemo {
 public:
  // A shorter text costs less to work on again than to look up and keep.
  static constexpr std::size_t kMinBytes = 128;
  // Enough for every list of a big set to convert the text its own way.
  static constexpr std::size_t kMaxTexts = 64;

  static bool IsLong(std::string_view text) { return text.size() >= kMinBytes; }

  // The folded form of a long text, worked out on first use. Null when the memo is full.
  text::FoldedText* Folded(std::string_view text);

  // What conversion number `conversion` made of `text`, if known.
  const std::string* Converted(std::size_t conversion, std::string_view text) const;
  // Notes that it made `output` of `input`, and when `settled`, that it leaves `output` alone.
  void NoteConverted(std::size_t conversion, std::string_view input, std::string_view output,
                     bool settled);

 private:
  struct Entry {
    std::string text;
    std::optional<text::FoldedText> folded;
    std::vector<std::pair<std::size_t, const Entry*>> converted;  // conversion, its result
  };
  Entry* Find(std::string_view text);
  const Entry* Find(std::string_view text) const;
  Entry* FindOrAdd(std::string_view text);

  std::deque<Entry> entries_;  // a deque, so the results noted above stay where they are
};

}  // namespace pellix::capture
