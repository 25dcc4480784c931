#include "core/text/case_fold.h"

#include <algorithm>
#include <iterator>

#include "core/text/cp932.h"

namespace pellix::text {
namespace {

constexpr CaseFoldPair kPairs[] = {
#include "core/text/case_fold_table.inc"
};

static_assert(std::is_sorted(std::begin(kPairs), std::end(kPairs),
                             [](const CaseFoldPair& a, const CaseFoldPair& b) {
                               return a.lower < b.lower;
                             }));

unsigned FoldTwoByte(unsigned code) {
  const auto* found =
      std::lower_bound(std::begin(kPairs), std::end(kPairs), code,
                       [](const CaseFoldPair& pair, unsigned key) { return pair.lower < key; });
  return found != std::end(kPairs) && found->lower == code ? found->upper : code;
}

}  // namespace

const CaseFoldPair* CaseFoldPairsBegin() {
  return std::begin(kPairs);
}
const CaseFoldPair* CaseFoldPairsEnd() {
  return std::end(kPairs);
}

unsigned FoldedCharAt(std::string_view text, std::size_t pos) {
  const auto first = static_cast<unsigned char>(text[pos]);
  if (CharSizeAt(text, pos) == 2) {
    return FoldTwoByte(first << 8 | static_cast<unsigned char>(text[pos + 1]));
  }
  return first >= 'a' && first <= 'z' ? first - 32u : first;
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view needle, std::size_t from) {
  if (needle.empty()) {
    return from <= text.size() ? from : std::string_view::npos;
  }
  for (std::size_t start = from; start < text.size(); start += CharSizeAt(text, start)) {
    if (text.size() - start < needle.size()) {
      break;
    }
    std::size_t t = start;
    std::size_t n = 0;
    while (n < needle.size() && t < text.size()) {
      const std::size_t needleSize = CharSizeAt(needle, n);
      const std::size_t textSize = CharSizeAt(text, t);
      if (needleSize != textSize || FoldedCharAt(needle, n) != FoldedCharAt(text, t)) {
        break;
      }
      n += needleSize;
      t += textSize;
    }
    if (n == needle.size()) {
      return start;
    }
  }
  return std::string_view::npos;
}

}  // namespace pellix::text
