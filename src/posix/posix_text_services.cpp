#include "posix/posix_text_services.h"

#include <iconv.h>

#include <stdexcept>

#include "core/text/cp932.h"
#include "posix/half_width_kana.h"

namespace pellix::posix {
namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error("iconv cannot convert code page 932");
    }
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  ~Iconv() { iconv_close(handle_); }

  // One character of code page 932 to one UTF-16 unit, or 0 when iconv refuses it or gives more.
  char16_t DecodeOne(const char* bytes, std::size_t size) const {
    char in[2] = {bytes[0], size > 1 ? bytes[1] : '\0'};
    char16_t out[4] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t inLeft = size;
    std::size_t outLeft = sizeof out;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        inLeft != 0 || sizeof out - outLeft != sizeof(char16_t)) {
      return 0;
    }
    return out[0];
  }

 private:
  iconv_t handle_;
};

// Code points code page 932 holds twice: Windows writes the earlier code, except that the
// NEC-selected IBM rows (lead bytes 0xED, 0xEE) lose to the IBM rows (0xFA to 0xFC).
bool PreferredOver(std::uint16_t candidate, std::uint16_t existing) {
  const auto isNecSelected = [](std::uint16_t code) {
    return (code >> 8) == 0xED || (code >> 8) == 0xEE;
  };
  if (isNecSelected(existing) != isNecSelected(candidate)) {
    return isNecSelected(existing);
  }
  return candidate < existing;
}

bool TakesVoicedMark(char16_t wide) {
  return (wide >= 0x30AB && wide <= 0x30C8 && wide % 2 == 1 && wide != 0x30C3) ||
         (wide >= 0x30C4 && wide <= 0x30C8 && wide % 2 == 0) ||
         (wide >= 0x30CF && wide <= 0x30DB && (wide - 0x30CF) % 3 == 0) || wide == 0x30A6;
}

bool TakesSemiVoicedMark(char16_t wide) {
  return wide >= 0x30CF && wide <= 0x30DB && (wide - 0x30CF) % 3 == 0;
}

char16_t Voiced(char16_t wide) {
  return wide == 0x30A6 ? char16_t{0x30F4} : wide + 1;
}

std::u16string ToFullWidth(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t ch = text[i];
    if (ch == u' ') {
      out += char16_t{0x3000};
    } else if (ch >= 0x21 && ch <= 0x7E) {
      out += static_cast<char16_t>(ch - 0x21 + 0xFF01);
    } else if (ch >= kFirstNarrowKana && ch <= kNarrowSemiVoicedMark) {
      const char16_t wide = kWideKana[ch - kFirstNarrowKana];
      const char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
      if (next == kNarrowVoicedMark && TakesVoicedMark(wide)) {
        out += Voiced(wide);
        ++i;
      } else if (next == kNarrowSemiVoicedMark && TakesSemiVoicedMark(wide)) {
        out += static_cast<char16_t>(wide + 2);
        ++i;
      } else {
        out += wide;
      }
    } else {
      out += ch;
    }
  }
  return out;
}

struct NarrowKana {
  char16_t narrow = 0;
  char16_t mark = 0;  // a voiced or semi-voiced mark that follows, or 0
};
constexpr char16_t kKanaBlock = 0x3000;

// Full-width katakana and punctuation (U+3000..U+30FF) to their half-width spelling.
const std::array<NarrowKana, 0x100>& NarrowKanaTable() {
  static const std::array<NarrowKana, 0x100> table = [] {
    std::array<NarrowKana, 0x100> built{};
    for (std::size_t k = 0; k < std::size(kWideKana); ++k) {
      const char16_t base = kWideKana[k];
      const auto narrow = static_cast<char16_t>(kFirstNarrowKana + k);
      built[base - kKanaBlock] = {narrow, 0};
      if (TakesVoicedMark(base)) {
        built[Voiced(base) - kKanaBlock] = {narrow, kNarrowVoicedMark};
      }
      if (TakesSemiVoicedMark(base)) {
        built[base + 2 - kKanaBlock] = {narrow, kNarrowSemiVoicedMark};
      }
    }
    return built;
  }();
  return table;
}

std::u16string ToHalfWidth(std::u16string_view text) {
  const auto& kana = NarrowKanaTable();
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t ch : text) {
    if (ch == 0x3000) {
      out += u' ';
    } else if (ch >= 0xFF01 && ch <= 0xFF5E) {
      out += static_cast<char16_t>(ch - 0xFF01 + 0x21);
    } else if (ch == 0xFFE5) {
      out += char16_t{0x00A5};
    } else if (ch > kKanaBlock && ch < kKanaBlock + 0x100 && kana[ch - kKanaBlock].narrow != 0) {
      out += kana[ch - kKanaBlock].narrow;
      if (kana[ch - kKanaBlock].mark != 0) {
        out += kana[ch - kKanaBlock].mark;
      }
    } else {
      out += ch;
    }
  }
  return out;
}

// Upper-case ranges with a lower-case twin at a fixed distance: ASCII, full-width Latin, Greek,
// Cyrillic and the Roman numerals, which is every cased letter code page 932 holds.
struct CaseRange {
  char16_t firstUpper;
  char16_t lastUpper;
  int toLower;
};
constexpr CaseRange kCaseRanges[] = {
    {u'A', u'Z', 0x20},     {0xFF21, 0xFF3A, 0x20}, {0x0391, 0x03A1, 0x20}, {0x03A3, 0x03A9, 0x20},
    {0x0410, 0x042F, 0x20}, {0x0401, 0x0401, 0x50}, {0x2160, 0x216F, 0x10},
};

char16_t Lower(char16_t ch) {
  for (const CaseRange& range : kCaseRanges) {
    if (ch >= range.firstUpper && ch <= range.lastUpper) {
      return static_cast<char16_t>(ch + range.toLower);
    }
  }
  return ch;
}

char16_t Upper(char16_t ch) {
  for (const CaseRange& range : kCaseRanges) {
    if (ch >= range.firstUpper + range.toLower && ch <= range.lastUpper + range.toLower) {
      return static_cast<char16_t>(ch - range.toLower);
    }
  }
  return ch;
}

}  // namespace

PosixTextServices::PosixTextServices()
    : decode_(std::make_unique<std::array<char16_t, 0x10000>>()),
      encode_(std::make_unique<Cp932Codes>()) {
  const Iconv iconv("UTF-16LE", "CP932");
  for (unsigned byte = 1; byte < 0x100; ++byte) {
    if (text::IsLeadByte(static_cast<unsigned char>(byte))) {
      continue;
    }
    const char one = static_cast<char>(byte);
    (*decode_)[byte] = iconv.DecodeOne(&one, 1);
  }
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!text::IsLeadByte(static_cast<unsigned char>(lead))) {
      continue;
    }
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (!text::IsTrailByte(static_cast<unsigned char>(trail))) {
        continue;
      }
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      (*decode_)[lead << 8 | trail] = iconv.DecodeOne(pair, 2);
    }
  }
  for (unsigned code = 1; code < 0x10000; ++code) {
    const char16_t ch = (*decode_)[code];
    if (ch == 0) {
      continue;
    }
    std::uint16_t& slot = (*encode_)[ch];
    if (slot == 0 || PreferredOver(static_cast<std::uint16_t>(code), slot)) {
      slot = static_cast<std::uint16_t>(code);
    }
  }
  collation_ = std::make_unique<const Collation>(*encode_);
}

std::optional<std::u16string> PosixTextServices::DecodeCp932(std::string_view text) const {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t size = text::CharSizeAt(text, pos);
    unsigned code = static_cast<unsigned char>(text[pos]);
    if (size == 2) {
      code = code << 8 | static_cast<unsigned char>(text[pos + 1]);
    }
    const char16_t ch = (*decode_)[code];
    if (ch == 0 && code != 0) {
      return std::nullopt;
    }
    out += ch;
    pos += size;
  }
  return out;
}

std::optional<std::string> PosixTextServices::EncodeCp932(std::u16string_view text) const {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char16_t ch : text) {
    const std::uint16_t code = (*encode_)[ch];
    if (code == 0 && ch != 0) {
      return std::nullopt;
    }
    if (code > 0xFF) {
      out += static_cast<char>(code >> 8);
    }
    out += static_cast<char>(code & 0xFF);
  }
  return out;
}

std::u16string PosixTextServices::Map(text::Mapping mapping, std::u16string_view text) const {
  switch (mapping) {
    case text::Mapping::kFullWidth:
      return ToFullWidth(text);
    case text::Mapping::kHalfWidth:
      return ToHalfWidth(text);
    case text::Mapping::kLowerCase:
    case text::Mapping::kUpperCase: {
      std::u16string out(text);
      for (char16_t& ch : out) {
        ch = mapping == text::Mapping::kLowerCase ? Lower(ch) : Upper(ch);
      }
      return out;
    }
  }
  return std::u16string(text);
}

int PosixTextServices::Compare(std::u16string_view a, std::u16string_view b,
                               bool ignoreCase) const {
  const int order = collation_->Key(a, ignoreCase).compare(collation_->Key(b, ignoreCase));
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

std::string PosixTextServices::SortKey(std::u16string_view text) const {
  return collation_->Key(text, false);
}

}  // namespace pellix::posix
