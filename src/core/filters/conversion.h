#pragma once
// The conversions a list applies to what it takes: width, then case, then up to eight
// replacement rows, each row working on the output of the one before.

#include <string>
#include <string_view>
#include <vector>

#include "core/filters/filter_def.h"

namespace pellix::filters {

class Conversion {
 public:
  explicit Conversion(const FilterDef& def);

  // Converts `text` in place. Returns whether the result is settled: converting it again would
  // change nothing. That holds when no replacement row found anything, since the width and case
  // mappings give texts they leave alone.
  bool Apply(std::string& text) const;

  bool IsIdentity() const { return !zen_ && !lower_ && !upper_ && rows_.empty(); }
  bool operator==(const Conversion&) const = default;

 private:
  struct Row {
    std::string from;
    std::string to;
    bool operator==(const Row&) const = default;
  };
  bool zen_;
  bool lower_;
  bool upper_;
  std::vector<Row> rows_;  // only the rows that replace anything, in order
};

// Replaces every occurrence of `from` that starts on a character boundary, left to right,
// never looking into what a replacement put in.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);
// The same in place; whether anything was found. `text` must not hold `from` or `to`.
bool ReplaceAllIn(std::string& text, std::string_view from, std::string_view to);

}  // namespace pellix::filters
