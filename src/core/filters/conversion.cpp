#include "core/filters/conversion.h"

#include "core/text/byte_pairs.h"
#include "core/text/case_fold.h"
#include "core/text/conversions.h"
#include "core/text/cp932.h"

namespace pellix::filters {

Conversion::Conversion(const FilterDef& def) : zen_(def.zen), lower_(def.caps), upper_(def.small) {
  for (int row = 0; row < kReplacementRows; ++row) {
    if (!def.exfrom[row].empty()) {
      rows_.push_back(Row{def.exfrom[row], def.exto[row]});
    }
  }
}

bool Conversion::Apply(std::string& text) const {
  if (zen_) {
    text::MakeHalfWidth(text);
  }
  if (lower_) {
    text::MakeLowerCase(text);
  }
  if (upper_) {
    text::MakeUpperCase(text);
  }
  // In a long text, one look at its byte pairs answers most rows: a row whose text is not
  // there needs no search. Noting them costs about one search, so only for two rows or more.
  text::BytePairs pairs;
  bool pairsCurrent = false;
  bool settled = true;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (!pairsCurrent && rows_.size() - row >= 2) {
      pairs.Assign(text);
      pairsCurrent = true;
    }
    if (pairsCurrent && !pairs.MayContain(rows_[row].from)) {
      continue;
    }
    if (ReplaceAllIn(text, rows_[row].from, rows_[row].to)) {
      settled = false;
      pairsCurrent = false;
    }
  }
  return settled;
}

bool ReplaceAllIn(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) {
    return false;
  }
  const std::string_view in(text);
  std::string out;
  bool found = false;
  std::size_t copied = 0;  // `in` before this is in `out`
  // A character starts here, at or before every hit still to come. After a replacement the
  // text is read on as if it started there.
  std::size_t boundary = 0;
  for (std::size_t hit = in.find(from); hit != std::string_view::npos;
       hit = in.find(from, hit + 1)) {
    if (!text::StartsCharFrom(in, boundary, hit)) {
      boundary = hit - 1;  // the lead byte of the character the hit is inside
      continue;
    }
    if (!found) {
      out.reserve(in.size());
      found = true;
    }
    out.append(in.substr(copied, hit - copied)).append(to);
    copied = boundary = hit + from.size();
    hit = copied - 1;
  }
  if (!found) {
    return false;
  }
  out.append(in.substr(copied));
  text = std::move(out);
  return true;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out(text);
  ReplaceAllIn(out, from, to);
  return out;
}

}  // namespace pellix::filters
