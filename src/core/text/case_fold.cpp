#include "core/text/case_fold.h"

#include <algorithm>
#include <array>
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

// Second bytes of the lead bytes that hold cased letters, mapped one way; 0 where nothing maps.
struct CaseTables {
  std::array<std::array<unsigned short, 256>, 256> toUpper{};
  std::array<std::array<unsigned short, 256>, 256> toLower{};
};

const CaseTables& Tables() {
  static const CaseTables tables = [] {
    CaseTables built;
    for (const CaseFoldPair& pair : kPairs) {
      built.toUpper[pair.lower >> 8][pair.lower & 0xFF] = pair.upper;
      // Small Roman numerals stand twice in the code page; as with every such character,
      // the NEC-selected copy (lead byte 0xEE) is not the one written.
      unsigned short& lower = built.toLower[pair.upper >> 8][pair.upper & 0xFF];
      if (lower == 0 || (lower >> 8) == 0xEE) {
        lower = pair.lower;
      }
    }
    return built;
  }();
  return tables;
}

std::string MapCase(std::string_view text, bool upper) {
  const auto& table = upper ? Tables().toUpper : Tables().toLower;
  const unsigned char from = upper ? 'a' : 'A';
  const int shift = upper ? -32 : 32;
  std::string out(text);
  auto* bytes = reinterpret_cast<unsigned char*>(out.data());
  const std::size_t size = out.size();
  for (std::size_t pos = 0; pos < size;) {
    const unsigned char first = bytes[pos];
    if (IsLeadByte(first) && pos + 1 < size) {
      const unsigned short mapped = table[first][bytes[pos + 1]];
      if (mapped != 0) {
        bytes[pos] = static_cast<unsigned char>(mapped >> 8);
        bytes[pos + 1] = static_cast<unsigned char>(mapped & 0xFF);
      }
      pos += 2;
      continue;
    }
    if (static_cast<unsigned char>(first - from) < 26) {
      bytes[pos] = static_cast<unsigned char>(first + shift);
    }
    ++pos;
  }
  return out;
}

}  // namespace

std::string ToUpperCase(std::string_view text) {
  return MapCase(text, true);
}
std::string ToLowerCase(std::string_view text) {
  return MapCase(text, false);
}

FoldedText::FoldedText(std::string_view text) : upper_(ToUpperCase(text)), starts_(text.size()) {
  for (std::size_t pos = 0; pos < text.size(); pos += CharSizeAt(text, pos)) {
    starts_[pos] = 1;
  }
}

bool FoldedText::Contains(std::string_view foldedNeedle) const {
  if (foldedNeedle.empty()) {
    return true;
  }
  for (std::size_t hit = upper_.find(foldedNeedle); hit != std::string::npos;
       hit = upper_.find(foldedNeedle, hit + 1)) {
    if (starts_[hit]) {
      // The needle's last character must end where one of ours ends, not inside one.
      const std::size_t end = hit + foldedNeedle.size();
      if (end == upper_.size() || starts_[end]) {
        return true;
      }
    }
  }
  return false;
}

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
