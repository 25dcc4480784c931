#include "posix/posix_collation.h"

#include <algorithm>
#include <optional>

#include "posix/half_width_kana.h"

namespace pellix::posix {
namespace {

// What decides a character's place, before it is written as bytes.
enum Group : unsigned char {
  kSymbol,
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

// ASCII symbols as Windows orders them; apostrophe and hyphen are left out on purpose.
constexpr std::u16string_view kAsciiSymbolOrder = u" \t\n\v\f\r!\"#$%&()*,./:;?@[]^_`{|}~\\+<=>";

enum class Kind : unsigned char { kIgnored, kSpecial, kWeighted };

struct Weight {
  Kind kind = Kind::kWeighted;
  Group group = kOther;
  std::uint16_t value = 0;
  unsigned char mark = 0;  // 1 voiced, 2 semi-voiced
  // Lower case before upper (2 is added for upper case), narrow before wide (1); small kana
  // first, then half-width, katakana, hiragana (small katakana before small hiragana).
  unsigned char form = 0;
  bool cased = false;
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

Weight AsciiWeight(char16_t ch, bool wide) {
  const auto width = static_cast<unsigned char>(wide ? 1 : 0);
  if (ch == u'\'' || ch == u'-') {
    return Weight{Kind::kSpecial, kSymbol, 0, 0,
                  static_cast<unsigned char>((ch == u'-' ? 2 : 0) + width)};
  }
  if (ch >= u'0' && ch <= u'9') {
    return Weight{Kind::kWeighted, kDigit, static_cast<std::uint16_t>(ch - u'0'), 0, width};
  }
  const bool upper = ch >= u'A' && ch <= u'Z';
  if (upper || (ch >= u'a' && ch <= u'z')) {
    const auto value = static_cast<std::uint16_t>(upper ? ch - u'A' : ch - u'a');
    return Weight{Kind::kWeighted,
                  kLatin,
                  value,
                  0,
                  static_cast<unsigned char>((upper ? 2 : 0) + width),
                  true};
  }
  const std::size_t rank = kAsciiSymbolOrder.find(ch);
  if (rank == std::u16string_view::npos) {
    return Weight{Kind::kIgnored};  // the other control characters
  }
  return Weight{Kind::kWeighted, kSymbol, static_cast<std::uint16_t>(rank), 0, width};
}

Weight CasedWeight(Group group, std::uint16_t value, bool upper) {
  return Weight{Kind::kWeighted, group, value, 0, static_cast<unsigned char>(upper ? 2 : 0), true};
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

Weight WeightOf(char16_t ch, const Cp932Codes& codes) {
  if (ch < 0x80) {
    return AsciiWeight(ch, false);
  }
  if (ch >= 0xFF01 && ch <= 0xFF5E) {
    return AsciiWeight(static_cast<char16_t>(ch - 0xFEE0), true);
  }
  if (ch == 0x3000) {
    return AsciiWeight(u' ', true);
  }
  if (ch == 0xFFE5) {  // the full-width yen sign goes with the backslash, the yen of code page 932
    return AsciiWeight(u'\\', true);
  }
  if ((ch >= 0x0391 && ch <= 0x03A9 && ch != 0x03A2) || (ch >= 0x03B1 && ch <= 0x03C9)) {
    const bool upper = ch <= 0x03A9;
    const char16_t asUpper = upper ? ch : ch == 0x03C2 ? char16_t{0x03A3} : char16_t(ch - 0x20);
    return CasedWeight(kGreek, static_cast<std::uint16_t>(asUpper - 0x0391), upper);
  }
  if (ch >= 0x0401 && ch <= 0x0451) {
    const bool upper = ch <= 0x042F;
    const char16_t asUpper = upper ? ch : char16_t(ch - (ch >= 0x0450 ? 0x50 : 0x20));
    // Ё sorts right after Е.
    const int value = asUpper == 0x0401 ? (0x0415 - 0x0410) * 2 + 1 : (asUpper - 0x0410) * 2;
    if (value >= 0) {
      return CasedWeight(kCyrillic, static_cast<std::uint16_t>(value), upper);
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
    const unsigned lead = codes[ch] >> 8;
    const bool inKanjiRows = (lead >= 0x88 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
    return inKanjiRows ? Weight{Kind::kWeighted, kKanji, codes[ch], 0, 0}
                       : Weight{Kind::kWeighted, kOtherKanji, ch, 0, 0};
  }
  return Weight{Kind::kWeighted, kOther, ch, 0, 0};
}

// The first byte of a base weight tells its length: 3 bytes for the groups ordered by code
// point, 2 for the others. Every first byte is above the byte that ends a level, so a text
// whose characters all match the start of a longer one sorts first.
constexpr unsigned char kLevelEnd = 0x01;
constexpr unsigned char kLevelBase = 0x02;
constexpr unsigned char kFirstSymbolByte = 0x02;
constexpr unsigned char kFirstOtherSymbolByte = 0x03;  // then the code point
constexpr unsigned char kFirstLetterByte = 0x04;       // digits, Latin, Greek, Cyrillic, kana
constexpr unsigned char kFirstKanjiByte = 0x05;        // to 0x2B: kanji in code page order
constexpr unsigned char kFirstOtherKanjiByte = 0x60;   // then the code point
constexpr unsigned char kFirstOtherByte = 0x61;        // then the code point

// Offsets of the letter groups within the second byte of kFirstLetterByte.
constexpr unsigned kLatinBase = 10;
constexpr unsigned kGreekBase = kLatinBase + 26;
constexpr unsigned kCyrillicBase = kGreekBase + 25;
constexpr unsigned kKanaBase = kCyrillicBase + 67;
constexpr char16_t kFirstKana = 0x3041;

// Kanji rows of code page 932 counted without gaps: lead bytes 0x88..0x9F and 0xE0..0xFC, trail
// bytes 0x40..0x7E and 0x80..0xFC.
unsigned KanjiRank(std::uint16_t code) {
  const unsigned lead = code >> 8;
  const unsigned trail = code & 0xFF;
  const unsigned leadRank = lead <= 0x9F ? lead - 0x88 : 24 + (lead - 0xE0);
  const unsigned trailRank = trail < 0x80 ? trail - 0x40 : trail - 0x41;
  return leadRank * 188 + trailRank;
}

}  // namespace

Collation::Collation(const Cp932Codes& codes) : table_(std::make_unique<Table>()) {
  for (unsigned code = 0; code < 0x10000; ++code) {
    const Weight weight = WeightOf(static_cast<char16_t>(code), codes);
    Entry& entry = (*table_)[code];
    entry.mark = static_cast<unsigned char>(kLevelBase + weight.mark);
    entry.form = static_cast<unsigned char>(kLevelBase + weight.form);
    entry.caselessForm =
        static_cast<unsigned char>(kLevelBase + (weight.cased ? weight.form & ~2u : weight.form));
    if (weight.kind == Kind::kIgnored) {
      continue;
    }
    if (weight.kind == Kind::kSpecial) {
      entry.length = kSpecial;
      continue;
    }
    const auto twoBytes = [&entry](unsigned first, unsigned second) {
      entry.primary = {static_cast<unsigned char>(first), static_cast<unsigned char>(second), 0};
      entry.length = 2;
    };
    const auto codePoint = [&entry](unsigned char first, std::uint16_t value) {
      entry.primary = {first, static_cast<unsigned char>(value >> 8),
                       static_cast<unsigned char>(value & 0xFF)};
      entry.length = 3;
    };
    switch (weight.group) {
      case kSymbol:
        twoBytes(kFirstSymbolByte, weight.value);
        break;
      case kOtherSymbol:
        codePoint(kFirstOtherSymbolByte, weight.value);
        break;
      case kDigit:
        twoBytes(kFirstLetterByte, weight.value);
        break;
      case kLatin:
        twoBytes(kFirstLetterByte, kLatinBase + weight.value);
        break;
      case kGreek:
        twoBytes(kFirstLetterByte, kGreekBase + weight.value);
        break;
      case kCyrillic:
        twoBytes(kFirstLetterByte, kCyrillicBase + weight.value);
        break;
      case kKana:
        twoBytes(kFirstLetterByte, kKanaBase + (weight.value - kFirstKana));
        break;
      case kKanji: {
        const unsigned rank = KanjiRank(weight.value);
        twoBytes(kFirstKanjiByte + (rank >> 8), rank & 0xFF);
        break;
      }
      case kOtherKanji:
        codePoint(kFirstOtherKanjiByte, weight.value);
        break;
      case kOther:
        codePoint(kFirstOtherByte, weight.value);
        break;
    }
  }
}

std::string Collation::Key(std::u16string_view text, bool ignoreCase) const {
  const Table& table = *table_;
  std::size_t primarySize = 0;
  std::size_t weighted = 0;
  bool specials = false;
  for (const char16_t ch : text) {
    const Entry& entry = table[ch];
    if (entry.length == kSpecial) {
      specials = true;
    } else if (entry.length != 0) {
      primarySize += entry.length;
      ++weighted;
    }
  }

  // One buffer: the base weights, then a level end and the marks, another and the forms.
  std::string key(primarySize + 2 * weighted + 3, '\0');
  auto* const bytes = reinterpret_cast<unsigned char*>(key.data());
  std::size_t primary = 0;
  std::size_t mark = primarySize + 1;
  std::size_t form = mark + weighted + 1;
  std::string tail;  // hyphens and apostrophes: rare, so kept apart
  std::uint32_t position = 0;
  for (const char16_t ch : text) {
    const Entry& entry = table[ch];
    if (entry.length == kSpecial) {
      // Fixed-size entries that start above the level's end: a text with fewer sorts first.
      tail += static_cast<char>(entry.form);
      for (int shift = 24; shift >= 0; shift -= 8) {
        tail += static_cast<char>((position >> shift) & 0xFF);
      }
      continue;
    }
    if (entry.length == 0) {
      continue;
    }
    ++position;
    for (unsigned char k = 0; k < entry.length; ++k) {
      bytes[primary++] = entry.primary[k];
    }
    bytes[mark++] = entry.mark;
    bytes[form++] = ignoreCase ? entry.caselessForm : entry.form;
  }

  // A level's trailing lowest values say nothing once the base weights are equal (both texts
  // then have as many of them), so they are dropped, which keeps most keys short.
  const auto trimmed = [bytes](std::size_t begin, std::size_t end) {
    while (end > begin && bytes[end - 1] == kLevelBase) {
      --end;
    }
    return end;
  };
  const std::size_t marksBegin = primarySize + 1;
  const std::size_t marksEnd = trimmed(marksBegin, marksBegin + weighted);
  const std::size_t formsBegin = marksBegin + weighted + 1;
  const std::size_t formsEnd = trimmed(formsBegin, formsBegin + weighted);
  std::size_t out = primarySize;
  bytes[out++] = kLevelEnd;
  out = static_cast<std::size_t>(std::copy(bytes + marksBegin, bytes + marksEnd, bytes + out) -
                                 bytes);
  bytes[out++] = kLevelEnd;
  out = static_cast<std::size_t>(std::copy(bytes + formsBegin, bytes + formsEnd, bytes + out) -
                                 bytes);
  key.resize(out);
  if (specials) {
    key += static_cast<char>(kLevelEnd);
    key += tail;
  }
  return key;
}

}  // namespace pellix::posix
