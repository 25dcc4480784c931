#include "core/app/first_start.h"

namespace pellix::app {
namespace {

constexpr std::uint32_t kModControl = 2;
constexpr std::uint32_t kModShift = 4;

}  // namespace

std::u16string HotkeyName(const Hotkey& hotkey) {
  if (hotkey.letter == '\0') {
    return {};
  }
  std::u16string name;
  if ((hotkey.mods & kModControl) != 0) {
    name += u"Ctrl+";
  }
  if ((hotkey.mods & kModShift) != 0) {
    name += u"Shift+";
  }
  if ((hotkey.mods & kModAlt) != 0) {
    name += u"Alt+";
  }
  // The letter is a virtual-key code: those of letters and digits are their ASCII capitals;
  // any other code (set in the settings by hand) is shown as a number.
  const auto code = static_cast<unsigned char>(hotkey.letter);
  if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) {
    name += static_cast<char16_t>(code);
  } else {
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    name += u"0x";
    name += kDigits[code >> 4];
    name += kDigits[code & 0xF];
  }
  return name;
}

std::optional<Notice> FirstStartNotice(bool settingsExisted, const Hotkey& hotkey) {
  if (settingsExisted) {
    return std::nullopt;
  }
  const std::u16string name = HotkeyName(hotkey);
  // At a first start the key can only be missing because another program holds it.
  std::u16string text =
      name.empty() ? std::u16string(
                         u"ホットキーを登録できませんでした（ほかのプログラムが使っています）。"
                         u"トレイメニューの「ホットキーの変更」で別のキーを選んでください。")
                   : name +
                         u" で一覧を表示し、もう一度押すと隠します。"
                         u"ホットキーはトレイメニューの「ホットキーの変更」で変えられます。";
  return Notice{u"ぺりくす T&K", std::move(text)};
}

}  // namespace pellix::app
