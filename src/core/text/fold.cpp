#include "core/text/fold.h"

#include <array>
#include <cstdint>

#include "core/text/case_fold.h"
#include "core/text/conversions.h"
#include "core/text/cp932.h"

namespace pellix::text {
namespace {

// Half-width katakana and punctuation (0xA1 to 0xDF) and the full-width characters they stand
// for: the plain letter, with the voiced sound mark, with the semi-voiced one (0: none).
struct HalfWidthKana {
  std::uint16_t plain;
  std::uint16_t voiced;
  std::uint16_t semiVoiced;
  char16_t plainWide;  // the same three in UTF-16
  char16_t voicedWide;
  char16_t semiVoicedWide;
};

constexpr HalfWidthKana kKana[] = {
    {0x8142, 0, 0, u'。', 0, 0},
    {0x8175, 0, 0, u'「', 0, 0},
    {0x8176, 0, 0, u'」', 0, 0},
    {0x8141, 0, 0, u'、', 0, 0},
    {0x8145, 0, 0, u'・', 0, 0},
    {0x8392, 0, 0, u'ヲ', 0, 0},
    {0x8340, 0, 0, u'ァ', 0, 0},
    {0x8342, 0, 0, u'ィ', 0, 0},
    {0x8344, 0, 0, u'ゥ', 0, 0},
    {0x8346, 0, 0, u'ェ', 0, 0},
    {0x8348, 0, 0, u'ォ', 0, 0},
    {0x8383, 0, 0, u'ャ', 0, 0},
    {0x8385, 0, 0, u'ュ', 0, 0},
    {0x8387, 0, 0, u'ョ', 0, 0},
    {0x8362, 0, 0, u'ッ', 0, 0},
    {0x815B, 0, 0, u'ー', 0, 0},
    {0x8341, 0, 0, u'ア', 0, 0},
    {0x8343, 0, 0, u'イ', 0, 0},
    {0x8345, 0x8394, 0, u'ウ', u'ヴ', 0},
    {0x8347, 0, 0, u'エ', 0, 0},
    {0x8349, 0, 0, u'オ', 0, 0},
    {0x834A, 0x834B, 0, u'カ', u'ガ', 0},
    {0x834C, 0x834D, 0, u'キ', u'ギ', 0},
    {0x834E, 0x834F, 0, u'ク', u'グ', 0},
    {0x8350, 0x8351, 0, u'ケ', u'ゲ', 0},
    {0x8352, 0x8353, 0, u'コ', u'ゴ', 0},
    {0x8354, 0x8355, 0, u'サ', u'ザ', 0},
    {0x8356, 0x8357, 0, u'シ', u'ジ', 0},
    {0x8358, 0x8359, 0, u'ス', u'ズ', 0},
    {0x835A, 0x835B, 0, u'セ', u'ゼ', 0},
    {0x835C, 0x835D, 0, u'ソ', u'ゾ', 0},
    {0x835E, 0x835F, 0, u'タ', u'ダ', 0},
    {0x8360, 0x8361, 0, u'チ', u'ヂ', 0},
    {0x8363, 0x8364, 0, u'ツ', u'ヅ', 0},
    {0x8365, 0x8366, 0, u'テ', u'デ', 0},
    {0x8367, 0x8368, 0, u'ト', u'ド', 0},
    {0x8369, 0, 0, u'ナ', 0, 0},
    {0x836A, 0, 0, u'ニ', 0, 0},
    {0x836B, 0, 0, u'ヌ', 0, 0},
    {0x836C, 0, 0, u'ネ', 0, 0},
    {0x836D, 0, 0, u'ノ', 0, 0},
    {0x836E, 0x836F, 0x8370, u'ハ', u'バ', u'パ'},
    {0x8371, 0x8372, 0x8373, u'ヒ', u'ビ', u'ピ'},
    {0x8374, 0x8375, 0x8376, u'フ', u'ブ', u'プ'},
    {0x8377, 0x8378, 0x8379, u'ヘ', u'ベ', u'ペ'},
    {0x837A, 0x837B, 0x837C, u'ホ', u'ボ', u'ポ'},
    {0x837D, 0, 0, u'マ', 0, 0},
    {0x837E, 0, 0, u'ミ', 0, 0},
    {0x8380, 0, 0, u'ム', 0, 0},
    {0x8381, 0, 0, u'メ', 0, 0},
    {0x8382, 0, 0, u'モ', 0, 0},
    {0x8384, 0, 0, u'ヤ', 0, 0},
    {0x8386, 0, 0, u'ユ', 0, 0},
    {0x8388, 0, 0, u'ヨ', 0, 0},
    {0x8389, 0, 0, u'ラ', 0, 0},
    {0x838A, 0, 0, u'リ', 0, 0},
    {0x838B, 0, 0, u'ル', 0, 0},
    {0x838C, 0, 0, u'レ', 0, 0},
    {0x838D, 0, 0, u'ロ', 0, 0},
    {0x838F, 0, 0, u'ワ', 0, 0},
    {0x8393, 0, 0, u'ン', 0, 0},
    {0x814A, 0, 0, u'゛', 0, 0},
    {0x814B, 0, 0, u'゜', 0, 0},
};
static_assert(std::size(kKana) == 0xDF - 0xA1 + 1);

constexpr unsigned char kFirstKana = 0xA1;
constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;
constexpr char16_t kFirstWideKana = u'\uFF61';
constexpr char16_t kWideVoicedMark = u'\uFF9E';
constexpr char16_t kWideSemiVoicedMark = u'\uFF9F';

// Every two-byte code folded: full-width ASCII narrowed to one byte (and that upper-cased), a
// cased letter upper-cased; 0 where the character stays as it is.
const std::array<std::uint16_t, 0x10000>& TwoByteFolds() {
  static const std::array<std::uint16_t, 0x10000> table = [] {
    std::array<std::uint16_t, 0x10000> built{};
    for (const text::CaseFoldPair* pair = text::CaseFoldPairsBegin();
         pair != text::CaseFoldPairsEnd(); ++pair) {
      built[pair->lower] = pair->upper;
    }
    for (const text::NarrowableChar* entry = text::NarrowableCharsBegin();
         entry != text::NarrowableCharsEnd(); ++entry) {
      const unsigned char narrow = entry->narrow;
      built[entry->bytes] = narrow >= 'a' && narrow <= 'z' ? narrow - 32 : narrow;
    }
    return built;
  }();
  return table;
}

void AppendCode(std::string& out, std::uint16_t code) {
  if (code > 0xFF) {
    out.push_back(static_cast<char>(code >> 8));
  }
  out.push_back(static_cast<char>(code & 0xFF));
}

// The full-width form of the half-width kana at `pos` with the sound mark after it, if the two
// make one letter; `used` tells how many bytes that took.
std::uint16_t WidenKana(std::string_view text, std::size_t pos, std::size_t* used) {
  const HalfWidthKana& kana = kKana[static_cast<unsigned char>(text[pos]) - kFirstKana];
  *used = 1;
  if (pos + 1 < text.size()) {
    const auto mark = static_cast<unsigned char>(text[pos + 1]);
    if (mark == kVoicedMark && kana.voiced != 0) {
      *used = 2;
      return kana.voiced;
    }
    if (mark == kSemiVoicedMark && kana.semiVoiced != 0) {
      *used = 2;
      return kana.semiVoiced;
    }
  }
  return kana.plain;
}

char16_t FoldWideChar(char16_t ch) {
  if (ch >= u'\uFF01' && ch <= u'\uFF5E') {
    ch = static_cast<char16_t>(ch - 0xFEE0);  // full-width ASCII to ASCII
  } else if (ch == u'\u3000') {
    return u' ';
  }
  if ((ch >= u'a' && ch <= u'z') || (ch >= u'\u00E0' && ch <= u'\u00FE' && ch != u'\u00F7') ||
      (ch >= u'\u03B1' && ch <= u'\u03C9' && ch != u'\u03C2') ||
      (ch >= u'\u0430' && ch <= u'\u044F')) {
    return static_cast<char16_t>(ch - 0x20);
  }
  if (ch == u'\u03C2') {
    return u'\u03A3';  // final sigma
  }
  if (ch >= u'\u0450' && ch <= u'\u045F') {
    return static_cast<char16_t>(ch - 0x50);
  }
  if (ch >= u'\u2170' && ch <= u'\u217F') {
    return static_cast<char16_t>(ch - 0x10);  // small Roman numerals
  }
  return ch;
}

}  // namespace

std::string FoldCp932(std::string_view text) {
  const auto& twoByte = TwoByteFolds();
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const auto first = static_cast<unsigned char>(text[pos]);
    if (text::IsLeadByte(first) && pos + 1 < text.size()) {
      const auto code =
          static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(text[pos + 1]));
      const std::uint16_t folded = twoByte[code];
      AppendCode(out, folded != 0 ? folded : code);
      pos += 2;
    } else if (first >= kFirstKana && first <= kSemiVoicedMark) {
      std::size_t used = 1;
      AppendCode(out, WidenKana(text, pos, &used));
      pos += used;
    } else {
      out.push_back(first >= 'a' && first <= 'z' ? static_cast<char>(first - 32)
                                                 : static_cast<char>(first));
      ++pos;
    }
  }
  return out;
}

std::u16string FoldUtf16(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    const char16_t ch = text[pos];
    if (ch >= kFirstWideKana && ch <= kWideSemiVoicedMark) {
      const HalfWidthKana& kana = kKana[ch - kFirstWideKana];
      const char16_t mark = pos + 1 < text.size() ? text[pos + 1] : u'\0';
      if (mark == kWideVoicedMark && kana.voicedWide != 0) {
        out.push_back(kana.voicedWide);
        ++pos;
      } else if (mark == kWideSemiVoicedMark && kana.semiVoicedWide != 0) {
        out.push_back(kana.semiVoicedWide);
        ++pos;
      } else {
        out.push_back(kana.plainWide);
      }
      continue;
    }
    out.push_back(FoldWideChar(ch));
  }
  return out;
}

bool IsCharStart(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) {
    return true;  // the end, also after a lead byte that stands alone there
  }
  // The byte before a run of lead-byte values always ends a character, so the run starts on a
  // character; inside it, characters take two bytes each.
  std::size_t run = 0;
  while (run < pos && text::IsLeadByte(static_cast<unsigned char>(text[pos - run - 1]))) {
    ++run;
  }
  return run % 2 == 0;
}

}  // namespace pellix::text
