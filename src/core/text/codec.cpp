#include "core/text/codec.h"

#include <algorithm>
#include <optional>

#include "core/text/cp932.h"

namespace pellix::text {
namespace {

constexpr unsigned kUserAreaFirstLead = 0xF0;
constexpr unsigned kUserAreaLastLead = 0xF9;
constexpr char16_t kUserAreaFirstChar = 0xE000;
constexpr unsigned kTrailsPerLead = 188;  // 0x40..0x7E and 0x80..0xFC

// Single bytes that Windows maps although the published table leaves them open.
std::optional<char16_t> SpecialSingleByte(unsigned char byte) {
  switch (byte) {
    case 0x80:
      return char16_t{0x0080};
    case 0xA0:
      return char16_t{0xF8F0};
    case 0xFD:
    case 0xFE:
    case 0xFF:
      return static_cast<char16_t>(0xF8F1 + (byte - 0xFD));
    default:
      return std::nullopt;
  }
}

std::optional<std::string> SpecialEncoding(char16_t ch) {
  if (ch == 0x0080) {
    return std::string(1, '\x80');
  }
  if (ch == 0xF8F0) {
    return std::string(1, '\xA0');
  }
  if (ch >= 0xF8F1 && ch <= 0xF8F3) {
    return std::string(1, static_cast<char>(0xFD + (ch - 0xF8F1)));
  }
  const unsigned userAreaSize = (kUserAreaLastLead - kUserAreaFirstLead + 1) * kTrailsPerLead;
  if (ch >= kUserAreaFirstChar && ch < kUserAreaFirstChar + userAreaSize) {
    const unsigned offset = ch - kUserAreaFirstChar;
    unsigned trail = 0x40 + offset % kTrailsPerLead;
    if (trail >= 0x7F) {
      ++trail;
    }
    const unsigned lead = kUserAreaFirstLead + offset / kTrailsPerLead;
    return std::string{static_cast<char>(lead), static_cast<char>(trail)};
  }
  if (ch == 0x00A5) {
    return std::string(1, '\x5C');
  }
  return std::nullopt;
}

char16_t UserAreaChar(unsigned char lead, unsigned char trail) {
  const unsigned column = trail < 0x80 ? trail - 0x40 : trail - 0x41;
  return static_cast<char16_t>(kUserAreaFirstChar + (lead - kUserAreaFirstLead) * kTrailsPerLead +
                               column);
}

void AppendDecodedRun(const TextServices& services, std::string_view run, std::u16string& out) {
  if (run.empty()) {
    return;
  }
  if (auto whole = services.DecodeCp932(run)) {
    out += *whole;
    return;
  }
  // Some character is unassigned: find it one character at a time.
  for (std::size_t pos = 0; pos < run.size();) {
    const std::size_t size = CharSizeAt(run, pos);
    const auto one = services.DecodeCp932(run.substr(pos, size));
    out += one ? *one : std::u16string(1, kReplacementChar);
    pos += size;
  }
}

bool IsHighSurrogate(char16_t ch) {
  return ch >= 0xD800 && ch <= 0xDBFF;
}
bool IsLowSurrogate(char16_t ch) {
  return ch >= 0xDC00 && ch <= 0xDFFF;
}

// A text with one character the code page lacks is still converted a block at a time, and
// only the block that holds it character by character: a whole file may take that path.
constexpr std::size_t kEncodeBlock = 256;

void AppendEncodedBlock(const TextServices& services, std::u16string_view block, std::string& out) {
  if (auto whole = services.EncodeCp932(block)) {
    out += *whole;
    return;
  }
  for (std::size_t pos = 0; pos < block.size(); ++pos) {
    const char16_t ch = block[pos];
    if (IsHighSurrogate(ch) && pos + 1 < block.size() && IsLowSurrogate(block[pos + 1])) {
      out += '?';
      ++pos;
      continue;
    }
    if (IsHighSurrogate(ch) || IsLowSurrogate(ch)) {
      out += '?';
      continue;
    }
    if (auto special = SpecialEncoding(ch)) {
      out += *special;
    } else if (auto one = services.EncodeCp932(block.substr(pos, 1))) {
      out += *one;
    } else {
      out += '?';
    }
  }
}

}  // namespace

std::u16string Cp932ToUtf16(const TextServices& services, std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t runStart = 0;
  std::size_t pos = 0;
  auto flushRun = [&] { AppendDecodedRun(services, text.substr(runStart, pos - runStart), out); };
  while (pos < text.size()) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (IsLeadByte(byte)) {
      const bool hasTrail =
          pos + 1 < text.size() && IsTrailByte(static_cast<unsigned char>(text[pos + 1]));
      if (hasTrail && (byte < kUserAreaFirstLead || byte > kUserAreaLastLead)) {
        pos += 2;
        continue;
      }
      flushRun();
      out += hasTrail ? UserAreaChar(byte, static_cast<unsigned char>(text[pos + 1]))
                      : kReplacementChar;
      pos += hasTrail ? 2 : 1;
      runStart = pos;
    } else if (const auto special = SpecialSingleByte(byte)) {
      flushRun();
      out += *special;
      runStart = ++pos;
    } else {
      ++pos;
    }
  }
  flushRun();
  return out;
}

std::string Utf16ToCp932(const TextServices& services, std::u16string_view text) {
  if (auto whole = services.EncodeCp932(text)) {
    return *whole;
  }
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = std::min(text.size(), start + kEncodeBlock);
    if (end < text.size() && IsHighSurrogate(text[end - 1])) {
      ++end;  // never part a surrogate pair
    }
    AppendEncodedBlock(services, text.substr(start, end - start), out);
    start = end;
  }
  return out;
}

}  // namespace pellix::text
