#include "posix/posix_collation.h"

#include <optional>

#include "posix/half_width_kana.h"

namespace pellix::posix {
namespace {

// The groups in their order; each is also the first byte of a character's base weight, and
// greater than the byte that ends a level, so a shorter text whose characters match sorts first.
enum Group : unsigned char {
  kSymbol = 0x02,
  kOtherSymbol,
  kDigit,
  kLatin,
  kGreek,
  kCyrillic,
  kKana,
  kKanji,
  kOtherKanji,
  kOther,
};
constexpr char kLevelEnd = '\x01';
constexpr unsigned char kLevelBase = 0x02;

// ASCII symbols as Windows orders them; apostrophe and hyphen are left out on purpose.
constexpr std::u16string_view kAsciiSymbolOrder = u" \t\n\v\f\r!\"#$%&()*,./:;?@[]^_`{|}~\\+<=>";

enum class Kind { kIgnored, kSpecial, kWeighted };

struct Weight {
  Kind kind = Kind::kWeighted;
  unsigned char group = kOther;
  std::uint16_t value = 0;
  unsigned char mark = 0;  // 1 voiced, 2 semi-voiced
  // Lower case before upper, narrow before wide; small kana first, then half-width, katakana,
  // hiragana (small katakana before small hiragana).
  unsigned char form = 0;
};

enum : unsigned char { kSmallKatakana, kSmallHiragana, kHalfWidth, kKatakana, kHiragana };

struct Kana {
  char16_t base;  // the large, unvoiced hiragana
  unsigned char mark;
  bool small;
};

std::optional<Kana> HiraganaOf(char16_t h) {
  switch (h) {
    case 0x3063:
      return Kana{0x3064, 0, true};  // small tsu
    case 0x308E:
      return Kana{0x308F, 0, true};  // small wa
    case 0x3095:
      return Kana{0x304B, 0, true};  // small ka
    case 0x3096:
      return Kana{0x3051, 0, true};  // small ke
    case 0x3094:
      return Kana{0x3046, 1, false};  // vu
    default:
      break;
  }
  if ((h >= 0x3041 && h <= 0x304A) || (h >= 0x3083 && h <= 0x3088)) {
    // a i u e o and ya yu yo: small and large alternate, small first.
    return h % 2 == 1 ? Kana{static_cast<char16_t>(h + 1), 0, true} : Kana{h, 0, false};
  }
  if (h >= 0x304B && h <= 0x3062) {  // ka to di: every second one voiced
    return (h - 0x304B) % 2 == 1 ? Kana{static_cast<char16_t>(h - 1), 1, false} : Kana{h, 0, false};
  }
  if (h >= 0x3064 && h <= 0x3069) {  // tsu to do
    return (h - 0x3064) % 2 == 1 ? Kana{static_cast<char16_t>(h - 1), 1, false} : Kana{h, 0, false};
  }
  if (h >= 0x306F && h <= 0x307D) {  // ha to po: plain, voiced, semi-voiced
    const int mark = (h - 0x306F) % 3;
    return Kana{static_cast<char16_t>(h - mark), static_cast<unsigned char>(mark), false};
  }
  if (h >= 0x306A && h <= 0x3093) {
    return Kana{h, 0, false};
  }
  return std::nullopt;
}

std::optional<Weight> KanaWeight(char16_t ch) {
  bool half = false;
  if (ch >= 0xFF66 && ch <= 0xFF9D && ch != 0xFF70) {
    ch = kWideKana[ch - kFirstNarrowKana];
    half = true;
  }
  bool katakana = false;
  std::optional<Kana> kana;
  if (ch >= 0x30F7 && ch <= 0x30FA) {  // va vi ve vo: wa wi we wo with a voiced mark
    kana = Kana{static_cast<char16_t>(ch - 0x30F7 + 0x308F), 1, false};
    katakana = true;
  } else if (ch >= 0x30A1 && ch <= 0x30F6) {
    kana = HiraganaOf(static_cast<char16_t>(ch - 0x60));
    katakana = true;
  } else if (ch >= 0x3041 && ch <= 0x3096) {
    kana = HiraganaOf(ch);
  }
  if (!kana) {
    return std::nullopt;
  }
  Weight weight{Kind::kWeighted, kKana, static_cast<std::uint16_t>(kana->base), kana->mark, 0};
  if (kana->small) {
    weight.form = katakana ? kSmallKatakana : kSmallHiragana;
  } else {
    weight.form = half ? kHalfWidth : katakana ? kKatakana : kHiragana;
  }
  return weight;
}

Weight AsciiWeight(char16_t ch, bool wide, bool ignoreCase) {
  const auto width = static_cast<unsigned char>(wide ? 1 : 0);
  if (ch == u'\'' || ch == u'-') {
    return Weight{Kind::kSpecial, 0, 0, 0,
                  static_cast<unsigned char>((ch == u'-' ? 2 : 0) + width)};
  }
  if (ch >= u'0' && ch <= u'9') {
    return Weight{Kind::kWeighted, kDigit, static_cast<std::uint16_t>(ch - u'0'), 0, width};
  }
  const bool upper = ch >= u'A' && ch <= u'Z';
  if (upper || (ch >= u'a' && ch <= u'z')) {
    const auto value = static_cast<std::uint16_t>(upper ? ch - u'A' : ch - u'a');
    const auto form = static_cast<unsigned char>((upper && !ignoreCase ? 2 : 0) + width);
    return Weight{Kind::kWeighted, kLatin, value, 0, form};
  }
  const std::size_t rank = kAsciiSymbolOrder.find(ch);
  if (rank == std::u16string_view::npos) {
    return Weight{Kind::kIgnored};  // the other control characters
  }
  return Weight{Kind::kWeighted, kSymbol, static_cast<std::uint16_t>(rank), 0, width};
}

// A cased letter with its upper-case form at `upper`: weighted by `value`.
Weight CasedWeight(unsigned char group, std::uint16_t value, bool upper, bool ignoreCase) {
  return Weight{Kind::kWeighted, group, value, 0,
                static_cast<unsigned char>(upper && !ignoreCase ? 2 : 0)};
}

bool IsOtherSymbol(char16_t ch) {
  return (ch >= 0x00A0 && ch <= 0x00BF) || ch == 0x00D7 || ch == 0x00F7 ||
         (ch >= 0x2000 && ch <= 0x2BFF) || (ch >= 0x3001 && ch <= 0x303F && ch != 0x3005) ||
         ch == 0x309B || ch == 0x309C || ch == 0x30FB || (ch >= 0xFFE0 && ch <= 0xFFEE);
}

bool IsIdeograph(char16_t ch) {
  return (ch >= 0x3400 && ch <= 0x4DBF) || (ch >= 0x4E00 && ch <= 0x9FFF) ||
         (ch >= 0xF900 && ch <= 0xFAFF);
}

Weight WeightOf(char16_t ch, const Cp932Codes& codes, bool ignoreCase) {
  if (ch < 0x80) {
    return AsciiWeight(ch, false, ignoreCase);
  }
  if (ch >= 0xFF01 && ch <= 0xFF5E) {
    return AsciiWeight(static_cast<char16_t>(ch - 0xFEE0), true, ignoreCase);
  }
  if (ch == 0x3000) {
    return AsciiWeight(u' ', true, ignoreCase);
  }
  if (ch == 0xFFE5) {  // the full-width yen sign goes with the backslash, the yen of code page 932
    return AsciiWeight(u'\\', true, ignoreCase);
  }
  if ((ch >= 0x0391 && ch <= 0x03A9 && ch != 0x03A2) || (ch >= 0x03B1 && ch <= 0x03C9)) {
    const bool upper = ch <= 0x03A9;
    const char16_t asUpper = upper ? ch : ch == 0x03C2 ? char16_t{0x03A3} : char16_t(ch - 0x20);
    return CasedWeight(kGreek, static_cast<std::uint16_t>(asUpper - 0x0391), upper, ignoreCase);
  }
  if (ch >= 0x0401 && ch <= 0x0451) {
    const bool upper = ch <= 0x042F;
    const char16_t asUpper = upper ? ch : char16_t(ch - (ch >= 0x0450 ? 0x50 : 0x20));
    // Ё sorts right after Е.
    const int value = asUpper == 0x0401 ? (0x0415 - 0x0410) * 2 + 1 : (asUpper - 0x0410) * 2;
    if (value >= 0) {
      return CasedWeight(kCyrillic, static_cast<std::uint16_t>(value), upper, ignoreCase);
    }
  }
  if (const std::optional<Weight> kana = KanaWeight(ch)) {
    return *kana;
  }
  if (ch >= 0xFF61 && ch <= 0xFF65) {  // half-width 。「」、・
    return Weight{Kind::kWeighted, kOtherSymbol, kWideKana[ch - kFirstNarrowKana], 0, 0};
  }
  if (IsOtherSymbol(ch)) {
    return Weight{Kind::kWeighted, kOtherSymbol, ch, 0, 1};
  }
  if (IsIdeograph(ch)) {
    const std::uint16_t code = codes[ch];
    return code > 0xFF ? Weight{Kind::kWeighted, kKanji, code, 0, 0}
                       : Weight{Kind::kWeighted, kOtherKanji, ch, 0, 0};
  }
  return Weight{Kind::kWeighted, kOther, ch, 0, 0};
}

void AppendBigEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) {
    out += static_cast<char>((value >> shift) & 0xFF);
  }
}

}  // namespace

std::string CollationKey(std::u16string_view text, const Cp932Codes& codes, bool ignoreCase) {
  std::string primary;
  std::string marks;
  std::string forms;
  std::string specials;
  primary.reserve(text.size() * 3 + 1);
  std::uint32_t weighted = 0;
  for (const char16_t ch : text) {
    const Weight weight = WeightOf(ch, codes, ignoreCase);
    if (weight.kind == Kind::kIgnored) {
      continue;
    }
    if (weight.kind == Kind::kSpecial) {
      // Fixed-size entries that start above the level's end byte: a text with fewer of them
      // sorts first.
      specials += static_cast<char>(kLevelBase + weight.form);
      AppendBigEndian(specials, weighted, 4);
      continue;
    }
    ++weighted;
    primary += static_cast<char>(weight.group);
    AppendBigEndian(primary, weight.value, 2);
    marks += static_cast<char>(kLevelBase + weight.mark);
    forms += static_cast<char>(kLevelBase + weight.form);
  }
  std::string key = std::move(primary);
  key.reserve(key.size() + marks.size() + forms.size() + specials.size() + 3);
  key.append(1, kLevelEnd).append(marks).append(1, kLevelEnd).append(forms);
  key.append(1, kLevelEnd).append(specials);
  return key;
}

}  // namespace pellix::posix
