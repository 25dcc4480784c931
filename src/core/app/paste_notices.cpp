#include "core/app/paste_notices.h"

namespace pellix::app {
namespace {

constexpr std::uint64_t kTipAfterMs = 1000;
constexpr std::uint64_t kTipEveryMs = 250;

// 12345 as "12,345".
std::u16string GroupedNumber(std::size_t value) {
  std::u16string digits;
  do {
    if (digits.size() % 4 == 3) {
      digits += u',';
    }
    digits += static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  return std::u16string(digits.rbegin(), digits.rend());
}

std::u16string Count(std::size_t typed, std::size_t total) {
  return GroupedNumber(typed) + u" / " + GroupedNumber(total) + u" 文字";
}

struct Cause {
  const char16_t* sentence;  // for the balloon
  const char16_t* brief;     // for the tip
};

std::optional<Cause> CauseOf(paste::Outcome outcome) {
  switch (outcome) {
    case paste::Outcome::kNoTarget:
      return Cause{
          u"貼り付け先のウィンドウがまだわかりません。"
          u"貼り付けたいアプリを前面にして 1 秒ほどたってから、もう一度どうぞ。",
          u"貼り付け先がまだわかりません"};
    case paste::Outcome::kTargetGone:
      return Cause{u"貼り付け先のウィンドウは閉じられていました。",
                   u"貼り付け先は閉じられていました"};
    case paste::Outcome::kNotInFront:
      return Cause{u"貼り付け先のウィンドウを前面に出せませんでした。",
                   u"貼り付け先を前面に出せませんでした"};
    case paste::Outcome::kElevated:
      return Cause{
          u"貼り付け先は管理者として実行されているため、ぺりくすからのキー操作を受け付けません"
          u"（ぺりくすも管理者として実行すれば届きます）。",
          u"貼り付け先は管理者として実行されています"};
    case paste::Outcome::kLostFront:
      return Cause{u"入力の途中でほかのウィンドウが前面に出たため、キー入力を止めました。",
                   u"ほかのウィンドウが前面に出ました"};
    case paste::Outcome::kDelivered:
    case paste::Outcome::kCancelled:
      break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<PasteNotice> PasteFailureNotice(paste::Outcome outcome, bool typedPaste,
                                              std::size_t typed, std::size_t total) {
  const std::optional<Cause> cause = CauseOf(outcome);
  if (!cause) {
    return std::nullopt;
  }
  PasteNotice notice;
  std::u16string progress;
  if (typedPaste && typed > 0) {
    progress = u"（" + Count(typed, total) + u"を入力済み）";
  }
  if (typedPaste) {
    notice.balloon.title = u"キー入力で貼り付けできませんでした";
    notice.balloon.text = cause->sentence + progress + u"クリップボードは使っていません。";
  } else {
    notice.balloon.title = u"貼り付けできませんでした";
    notice.balloon.text = std::u16string(cause->sentence) +
                          u"テキストはクリップボードにあるので、Ctrl+V で貼り付けられます。";
  }
  notice.tip = PlainTip() + u"\n" + notice.balloon.title + u"：" + cause->brief + progress;
  if (!typedPaste) {
    notice.tip += u"（テキストはクリップボードにあります）";
  }
  return notice;
}

std::u16string PlainTip() {
  return u"ぺりくす T＆K";
}

std::optional<std::u16string> TypingTip::At(std::size_t typed, std::size_t total,
                                            std::uint64_t nowMs) {
  if (nowMs < start_ + kTipAfterMs || (shownAt_ && nowMs < *shownAt_ + kTipEveryMs)) {
    return std::nullopt;
  }
  shownAt_ = nowMs;
  return PlainTip() + u"\nキー入力中 " + Count(typed, total) + u"（Esc で中止）";
}

}  // namespace pellix::app
