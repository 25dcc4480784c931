#include "bench_data.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <string_view>
#include <vector>

#include "core/platform_services.h"
#include "core/text/codec.h"
#include "core/text/cp932.h"
#include "core/text/utf.h"

namespace pellix::bench {
namespace {

// Written as UTF-8 here, stored as code page 932 like everything the program keeps.
constexpr std::string_view kAsciiFragments[] = {
    "https://example.com/docs/index.html",
    "https://intra.example.co.jp/wiki/Meeting_2024-04",
    "user@example.co.jp",
    "SELECT id, name FROM users WHERE id = 42;",
    "git commit -m \"Fix the date format\"",
    "C:\\Users\\tanaka\\Documents\\report.xlsx",
    "printf(\"%d\\n\", count);",
    "TODO: update the README",
    "Meeting at 10:30",
    "ID: A-1029-77",
    "03-1234-5678",
    "OK",
    "v2.4.1",
};
constexpr std::string_view kFullWidthFragments[] = {
    "ＰＤＦ",         "Ｗｉｎｄｏｗｓ", "ＵＲＬ",     "２０２４年４月１日",
    "ＡＢＣ株式会社", "Ｅｘｃｅｌ",     "第３四半期", "ＴＥＬ：０３－１２３４－５６７８",
    "ＦＡＸ",
};
constexpr std::string_view kKanaFragments[] = {
    "よろしくお願いします",
    "ありがとうございました",
    "ファイル",
    "ダウンロード",
    "クリップボード",
    "メールアドレス",
    "ｶﾀｶﾅ",
    "ﾃﾞｰﾀﾍﾞｰｽ",
    "ひらがな",
    "パスワード",
    "ソフトウェア",
    "お疲れ様です",
};
constexpr std::string_view kKanjiFragments[] = {
    "会議室",   "議事録", "東京都千代田区丸の内一丁目",
    "営業部",   "確認",   "予定表",
    "報告書",   "申請",   "添付資料",
    "締め切り", "表示",   "機能",
    "検索結果", "担当者",
};
constexpr std::string_view kSentences[] = {
    "明日の会議は１０時から第２会議室で行います。",
    "資料をダウンロードして、内容を確認してください。",
    "ＰＤＦファイルを添付します。ご査収ください。",
    "お疲れ様です。営業部の田中です。",
    "見積書の件、金額に誤りがありましたので再送いたします。",
    "ｻｰﾊﾞｰのﾒﾝﾃﾅﾝｽは土曜日の夜に予定しています。",
    "件名：【至急】システム障害のお知らせ",
};
constexpr std::string_view kSeparators[] = {" ", " ", "、", "　", " - ", "：", "。"};

struct Pools {
  std::vector<std::string> ascii;
  std::vector<std::string> fullWidth;
  std::vector<std::string> kana;
  std::vector<std::string> kanji;
  std::vector<std::string> sentences;
  std::vector<std::string> separators;
};

template <std::size_t N>
std::vector<std::string> ToCp932(const std::string_view (&utf8)[N]) {
  const text::TextServices& services = PlatformTextServices();
  std::vector<std::string> out;
  for (const std::string_view text : utf8) {
    out.push_back(text::Utf16ToCp932(services, text::Utf8ToUtf16(text)));
  }
  return out;
}

const Pools& FragmentPools() {
  static const Pools pools{ToCp932(kAsciiFragments), ToCp932(kFullWidthFragments),
                           ToCp932(kKanaFragments),  ToCp932(kKanjiFragments),
                           ToCp932(kSentences),      ToCp932(kSeparators)};
  return pools;
}

const std::string& Pick(const std::vector<std::string>& pool, std::mt19937& random) {
  return pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random)];
}

// One piece of text, weighted towards Japanese prose with Latin text mixed in.
const std::string& AnyFragment(std::mt19937& random) {
  const Pools& pools = FragmentPools();
  switch (std::discrete_distribution<int>({20, 12, 18, 18, 32})(random)) {
    case 0:
      return Pick(pools.ascii, random);
    case 1:
      return Pick(pools.fullWidth, random);
    case 2:
      return Pick(pools.kana, random);
    case 3:
      return Pick(pools.kanji, random);
    default:
      return Pick(pools.sentences, random);
  }
}

// The longest prefix of at most `maxBytes` bytes that ends on a character boundary.
std::size_t BoundaryAtMost(std::string_view text, std::size_t maxBytes) {
  std::size_t pos = 0;
  while (pos < text.size() && pos + text::CharSizeAt(text, pos) <= maxBytes) {
    pos += text::CharSizeAt(text, pos);
  }
  return pos;
}

}  // namespace

std::string MakeMixedText(std::size_t chars) {
  std::mt19937 random(932);
  std::string text;
  std::size_t length = 0;
  while (length < chars) {
    for (const std::string& piece :
         {AnyFragment(random), Pick(FragmentPools().separators, random)}) {
      text += piece;
      length += text::CharLength(piece);
    }
  }
  text.resize(text::PrefixBytesForChars(text, chars));
  return text;
}

lists::Items MakeHistoryItems(std::size_t count, std::size_t totalBytes) {
  std::mt19937 random(2024);
  // Log-normal lengths: the median item is a phrase or a URL, the mean is pulled up by the odd
  // mail or source file that was copied whole.
  constexpr double kSpread = 1.1;
  const double mean = static_cast<double>(totalBytes) / static_cast<double>(count);
  std::lognormal_distribution<double> length(std::log(mean) - kSpread * kSpread / 2, kSpread);
  std::bernoulli_distribution lineBreak(0.3);
  lists::Items items;
  items.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const auto wanted = static_cast<std::size_t>(std::clamp(length(random), 2.0, 64000.0));
    const bool multiLine = wanted > 120;
    std::string item;
    while (item.size() < wanted) {
      if (!item.empty()) {
        item += multiLine && lineBreak(random) ? std::string("\r\n")
                                               : Pick(FragmentPools().separators, random);
      }
      item += AnyFragment(random);
    }
    item.resize(BoundaryAtMost(item, wanted));
    // A cut between CR and LF would leave a lone CR, which reads back as a break of its own.
    while (!item.empty() && (item.back() == '\r' || item.back() == '\n')) {
      item.pop_back();
    }
    if (item.empty()) {
      item = Pick(FragmentPools().ascii, random);
    }
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace pellix::bench
