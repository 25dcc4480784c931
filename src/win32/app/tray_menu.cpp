#include "win32/app/tray_menu.h"

#include <array>

#include "win32/app/control_ids.h"

namespace pellix::win32 {
namespace {

constexpr std::array<const wchar_t*, 10> kPasteOptions = {
    L"なし",     nullptr, L"Tab追加",      L"空白追加", L"カンマ追加",
    L"改行追加", nullptr, L"区切りの削除", nullptr,     L"リダイレクト先のURLを抜き出し"};
constexpr std::array<const wchar_t*, 5> kHotkeys = {L"Ctrl+", L"Shift+", L"Alt+", L"Ctrl+Shift+",
                                                    L"Ctrl+Alt"};

void Separator(HMENU menu) {
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
}

}  // namespace

TrayMenu::TrayMenu() : menu_(CreatePopupMenu()) {
  const HMENU menu = menu_.Get();
  options_ = CreatePopupMenu();
  for (std::size_t position = 0; position < kPasteOptions.size(); ++position) {
    if (kPasteOptions[position] == nullptr) {
      Separator(options_);
    } else {
      AppendMenuW(options_, MF_STRING, kCmdPasteOptionFirst + position, kPasteOptions[position]);
    }
  }
  hotkeys_ = CreatePopupMenu();
  for (std::size_t position = 0; position < kHotkeys.size(); ++position) {
    AppendMenuW(hotkeys_, MF_STRING, kCmdHotkeyFirst + position, kHotkeys[position]);
  }
  version_ = CreatePopupMenu();
  AppendMenuW(version_, MF_STRING, kCmdVersionItem, L"ver.0.90");

  AppendMenuW(menu, MF_STRING, kCmdRestoreChain, L"クリップボードチェーンの復旧");
  Separator(menu);
  // Items whose features are not in this build yet stay visible but greyed.
  AppendMenuW(menu, MF_STRING | MF_GRAYED, kCmdImportText, L"テキストの取り込み\tCtrl+G");
  Separator(menu);
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(options_), L"貼り付けオプション");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(hotkeys_), L"ホットキーの変更");
  AppendMenuW(menu, MF_STRING | MF_GRAYED, kCmdFilterSettings, L"フィルター設定");
  Separator(menu);
  AppendMenuW(menu, MF_STRING, kCmdTransparent, L"透過ウィンドウ");
  AppendMenuW(menu, MF_STRING | MF_GRAYED, kCmdFont, L"フォント");
  Separator(menu);
  AppendMenuW(menu, MF_STRING, kCmdHelp, L"ヘルプ");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(version_), L"バージョン情報");
  Separator(menu);
  AppendMenuW(menu, MF_STRING, kCmdExit, L"終了");
  SetPasteOption(0);
  CheckHotkeyItem(0);
}

void TrayMenu::SetPasteOption(std::optional<int> position) {
  for (int i = 0; i < static_cast<int>(kPasteOptions.size()); ++i) {
    CheckMenuItem(options_, static_cast<UINT>(i),
                  MF_BYPOSITION | (position == i ? MF_CHECKED : MF_UNCHECKED));
  }
}

std::optional<int> TrayMenu::PasteOption() const {
  for (int i = 0; i < static_cast<int>(kPasteOptions.size()); ++i) {
    if (GetMenuState(options_, static_cast<UINT>(i), MF_BYPOSITION) & MF_CHECKED) {
      return i;
    }
  }
  return std::nullopt;
}

void TrayMenu::CheckHotkeyItem(std::optional<int> position) {
  for (int i = 0; i < static_cast<int>(kHotkeys.size()); ++i) {
    CheckMenuItem(hotkeys_, static_cast<UINT>(i),
                  MF_BYPOSITION | (position == i ? MF_CHECKED : MF_UNCHECKED));
  }
}

bool TrayMenu::Transparent() const {
  return (GetMenuState(menu_.Get(), kCmdTransparent, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void TrayMenu::SetTransparent(bool on) {
  CheckMenuItem(menu_.Get(), kCmdTransparent, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

UINT TrayMenu::Track(HWND owner) const {
  POINT pointer{};
  GetCursorPos(&pointer);
  return static_cast<UINT>(TrackPopupMenu(menu_.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, pointer.x,
                                          pointer.y, 0, owner, nullptr));
}

}  // namespace pellix::win32
