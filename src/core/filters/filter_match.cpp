#include "core/filters/filter_match.h"

#include <algorithm>

#include "core/text/cp932.h"

namespace pellix::filters {
namespace {

constexpr unsigned kIdeographicSpace = 0x8140;

}  // namespace

CheckWords::CheckWords(std::string_view words, std::int32_t count) : count_(count) {
  std::size_t pos = 0;
  while (pos < words.size()) {
    const std::size_t space = words.find(' ', pos);
    const std::string_view word =
        words.substr(pos, space == std::string_view::npos ? std::string_view::npos : space - pos);
    if (!word.empty()) {
      folded_.push_back(text::ToUpperCase(word));
    }
    if (space == std::string_view::npos) {
      break;
    }
    pos = space + 1;
  }
}

std::optional<bool> CheckWords::Settled() const {
  if (count_ <= 0) {
    return true;  // no word needs to be found
  }
  if (folded_.size() < static_cast<std::size_t>(count_)) {
    return false;  // not even every word found would be enough
  }
  return std::nullopt;
}

bool CheckWords::Passes(text::FoldedText& text) const {
  if (const std::optional<bool> settled = Settled()) {
    return *settled;
  }
  const auto needed = static_cast<std::size_t>(count_);
  std::size_t found = 0;
  for (std::size_t i = 0; i < folded_.size(); ++i) {
    if (text.Contains(folded_[i]) && ++found == needed) {
      return true;
    }
    if (found + (folded_.size() - i - 1) < needed) {
      return false;  // the words left cannot make up the count
    }
  }
  return false;
}

LimitingChars::LimitingChars(std::string_view characters) : empty_(characters.empty()) {
  for (std::size_t pos = 0; pos < characters.size(); pos += text::CharSizeAt(characters, pos)) {
    const unsigned folded = text::FoldedCharAt(characters, pos);
    if (folded < 0x100) {
      singles_[folded >> 6] |= std::uint64_t{1} << (folded & 63);
    } else {
      doubles_.push_back(static_cast<unsigned short>(folded));
    }
  }
  std::sort(doubles_.begin(), doubles_.end());
  doubles_.erase(std::unique(doubles_.begin(), doubles_.end()), doubles_.end());
  spaceAllowed_ = Has(' ') || Has(kIdeographicSpace);
}

bool LimitingChars::Has(unsigned folded) const {
  if (folded < 0x100) {
    return (singles_[folded >> 6] >> (folded & 63)) & 1;
  }
  return std::binary_search(doubles_.begin(), doubles_.end(), folded);
}

bool LimitingChars::Allows(std::string_view text) const {
  if (text.empty() || empty_) {
    return false;
  }
  const text::TwoByteCaseMap& upper = text::UpperCaseMap();
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  bool holdsMoreThanSpace = false;
  for (std::size_t pos = 0; pos < size;) {
    const unsigned char first = bytes[pos];
    unsigned folded;
    if (text::IsLeadByte(first) && pos + 1 < size) {
      const unsigned short mapped = upper.Map(first, bytes[pos + 1]);
      folded = mapped != 0 ? mapped : (first << 8 | bytes[pos + 1]);
      pos += 2;
    } else {
      folded = first >= 'a' && first <= 'z' ? first - 32u : first;
      ++pos;
    }
    if (folded != ' ' && folded != kIdeographicSpace && folded != '\r' && folded != '\n') {
      holdsMoreThanSpace = true;
    }
    if (!Has(folded)) {
      return false;
    }
  }
  return !spaceAllowed_ || holdsMoreThanSpace;
}

FilterMatch::FilterMatch(const FilterDef& def)
    : first_(def.astring, def.acount), needsFolded_(false) {
  if (!def.cstring.empty()) {
    limiting_.emplace(def.cstring);
    return;
  }
  if (!def.bstring.empty()) {
    second_.emplace(def.bstring, def.bcount);
  }
  // The first row is tested even when the second one alone would decide; a settled row of
  // either kind needs no text.
  needsFolded_ = !first_.Settled() || (second_ && !second_->Settled());
}

bool FilterMatch::Passes(std::string_view subject, text::FoldedText& folded) const {
  if (limiting_) {
    return limiting_->Allows(subject);
  }
  return first_.Passes(folded) && (!second_ || second_->Passes(folded));
}

}  // namespace pellix::filters
