#include "core/text/case_fold.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <stdexcept>

#include "core/text/cp932.h"

namespace pellix::text {
namespace {

constexpr CaseFoldPair kPairs[] = {
#include "core/text/case_fold_table.inc"
};

// Strictly ascending: every lower-case letter has one upper-case form.
static_assert(std::adjacent_find(std::begin(kPairs), std::end(kPairs),
                                 [](const CaseFoldPair& a, const CaseFoldPair& b) {
                                   return a.lower >= b.lower;
                                 }) == std::end(kPairs));

struct CaseMaps {
  TwoByteCaseMap toUpper;
  TwoByteCaseMap toLower;
};

const CaseMaps& Maps() {
  static const CaseMaps maps = [] {
    CaseMaps built;
    for (const CaseFoldPair& pair : kPairs) {
      built.toUpper.Set(pair.lower, pair.upper);
      // Small Roman numerals stand twice in the code page; as with every such character,
      // the NEC-selected copy (lead byte 0xEE) is not the one written.
      const unsigned short lower = built.toLower.Map(static_cast<unsigned char>(pair.upper >> 8),
                                                     static_cast<unsigned char>(pair.upper & 0xFF));
      if (lower == 0 || (lower >> 8) == 0xEE) {
        built.toLower.Set(pair.upper, pair.lower);
      }
    }
    return built;
  }();
  return maps;
}

constexpr std::uint64_t kEveryByte = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

// Eight ASCII bytes with the letters from [first, first + 26) moved by 0x20 (flipping bit 5
// takes 'A'..'Z' to 'a'..'z' and back). No byte may have its high bit set.
std::uint64_t FlipAsciiLetters(std::uint64_t word, unsigned char first) {
  const std::uint64_t atLeastFirst = word + kEveryByte * (0x80 - first);
  const std::uint64_t beyondLast = word + kEveryByte * (0x80 - (first + 26));
  return word ^ ((atLeastFirst & ~beyondLast & kHighBits) >> 2);
}

// Maps the characters of `text` that start from `begin` (a character start) on, up to the first
// character start at or after `end`, which it returns.
std::size_t MapCaseSpan(std::string& text, std::size_t begin, std::size_t end, bool upper,
                        bool& changed) {
  const TwoByteCaseMap& table = upper ? Maps().toUpper : Maps().toLower;
  const unsigned char from = upper ? 'a' : 'A';
  auto* bytes = reinterpret_cast<unsigned char*>(text.data());
  const std::size_t size = text.size();
  const std::size_t stop = std::min(end, size);
  std::size_t pos = begin;
  while (pos < stop) {
    // A run of ASCII, eight bytes at a time: each is a character of its own.
    if (size - pos >= 8) {
      std::uint64_t word;
      std::memcpy(&word, bytes + pos, 8);
      if ((word & kHighBits) == 0) {
        const std::uint64_t mapped = FlipAsciiLetters(word, from);
        if (mapped != word) {
          std::memcpy(bytes + pos, &mapped, 8);
          changed = true;
        }
        pos += 8;
        continue;
      }
    }
    const unsigned char first = bytes[pos];
    if (IsLeadByte(first) && pos + 1 < size) {
      const unsigned short mapped = table.Map(first, bytes[pos + 1]);
      if (mapped != 0) {
        bytes[pos] = static_cast<unsigned char>(mapped >> 8);
        bytes[pos + 1] = static_cast<unsigned char>(mapped & 0xFF);
        changed = true;
      }
      pos += 2;
      continue;
    }
    if (static_cast<unsigned char>(first - from) < 26) {
      bytes[pos] = static_cast<unsigned char>(first ^ 0x20);
      changed = true;
    }
    ++pos;
  }
  return pos;
}

bool MapCase(std::string& text, bool upper) {
  bool changed = false;
  MapCaseSpan(text, 0, text.size(), upper, changed);
  return changed;
}

}  // namespace

void TwoByteCaseMap::Set(unsigned short from, unsigned short to) {
  const unsigned char lead = static_cast<unsigned char>(from >> 8);
  if (rowOfLead_[lead] == 0) {
    if (used_ == kMaxRows) {
      throw std::length_error("too many lead bytes with cased letters");
    }
    rowOfLead_[lead] = static_cast<std::uint8_t>(++used_);
  }
  rows_[rowOfLead_[lead] - 1][from & 0xFF] = to;
}

const TwoByteCaseMap& UpperCaseMap() {
  return Maps().toUpper;
}
const TwoByteCaseMap& LowerCaseMap() {
  return Maps().toLower;
}

bool MakeUpperCase(std::string& text) {
  return MapCase(text, true);
}
bool MakeLowerCase(std::string& text) {
  return MapCase(text, false);
}

std::string ToUpperCase(std::string_view text) {
  std::string out(text);
  MapCase(out, true);
  return out;
}
std::string ToLowerCase(std::string_view text) {
  std::string out(text);
  MapCase(out, false);
  return out;
}

void FoldedText::Assign(std::string_view text) {
  upper_.assign(text);
  folded_ = 0;
}

bool FoldedText::FoldFurther() {
  if (folded_ == upper_.size()) {
    return false;
  }
  constexpr std::size_t kFirstBytes = 1024;
  bool changed = false;
  folded_ = MapCaseSpan(upper_, folded_, std::max(kFirstBytes, folded_ * 2), true, changed);
  return true;
}

bool FoldedText::Contains(std::string_view foldedNeedle) {
  if (foldedNeedle.empty()) {
    return true;
  }
  // Folding keeps every character's length and every lead byte, so characters start where
  // they did, in the folded part and after it alike.
  std::size_t known = 0;  // a character starts here, at or before every hit still to come
  std::size_t from = 0;   // no occurrence starts before this
  for (;;) {
    const std::string_view done(upper_.data(), folded_);
    const std::size_t hit = done.find(foldedNeedle, from);
    if (hit == std::string_view::npos) {
      // Only an occurrence that runs past the folded part may be left.
      if (done.size() >= foldedNeedle.size()) {
        from = std::max(from, done.size() - foldedNeedle.size() + 1);
      }
      if (!FoldFurther()) {
        return false;
      }
      continue;
    }
    from = hit + 1;
    if (!StartsCharFrom(upper_, known, hit)) {
      known = hit - 1;  // the lead byte of the character the hit is inside
      continue;
    }
    known = hit;
    // The needle's last character must end where one of ours ends, not inside one.
    if (StartsCharFrom(upper_, hit, hit + foldedNeedle.size())) {
      return true;
    }
  }
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
    const auto second = static_cast<unsigned char>(text[pos + 1]);
    const unsigned short mapped = Maps().toUpper.Map(first, second);
    return mapped != 0 ? mapped : (first << 8 | second);
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
