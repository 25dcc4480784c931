#include "win32/ui/command_texts.h"

#include <algorithm>

#include "version.h"

namespace pellix::win32 {
namespace {

constexpr UINT PasteOption(int option) {
  return static_cast<UINT>(kCmdPasteOptionFirst + option);
}
constexpr UINT HotkeyItem(int position) {
  return static_cast<UINT>(kCmdHotkeyFirst + position);
}

constexpr Shortcut kNone{};
constexpr Shortcut Ctrl(WORD key) {
  return Shortcut{key, true, false};
}
constexpr Shortcut CtrlAlt(WORD key) {
  return Shortcut{key, true, true};
}
constexpr Shortcut Shift(WORD key) {
  return Shortcut{key, false, false, true};
}

constexpr CommandText kTexts[] = {
    // The tray menu.
    {kCmdRestoreChain, L"クリップボードチェーンの復旧", kNone},
    {kCmdImportText, L"テキストの取り込み", Ctrl('G')},
    {PasteOption(0), L"なし", kNone},
    {PasteOption(2), L"Tab追加", kNone},
    {PasteOption(3), L"空白追加", kNone},
    {PasteOption(4), L"カンマ追加", kNone},
    {PasteOption(5), L"改行追加", kNone},
    {PasteOption(7), L"区切りの削除", kNone},
    {PasteOption(9), L"リダイレクト先のURLを抜き出し", kNone},
    {HotkeyItem(0), L"Ctrl+", kNone},
    {HotkeyItem(1), L"Shift+", kNone},
    {HotkeyItem(2), L"Alt+", kNone},
    {HotkeyItem(3), L"Ctrl+Shift+", kNone},
    {HotkeyItem(4), L"Ctrl+Alt", kNone},
    {kCmdFilterSettings, L"フィルター設定", kNone},
    {kCmdSearch, L"検索", Ctrl('F')},
    {kCmdTransparent, L"透過ウィンドウ", kNone},
    {kCmdFont, L"フォント", kNone},
    {kCmdHelp, L"ヘルプ", kNone},
    // The same version as the about box's, the project's own.
    {kCmdVersionItem, L"ver." PELLIX_VERSION_WIDE, kNone},
    {kCmdStartWithWindows, L"Windows の起動時に開始", kNone},
    {kCmdExit, L"終了", kNone},
    // The ordinary list.
    {kCmdSendCopy, L"コピー（他アプリへの貼り付け）", Ctrl('C')},
    // For fields that refuse a paste and remote sessions without a shared clipboard.
    {kCmdTypePaste, L"キー入力で貼り付け", Shift(VK_RETURN)},
    {kCmdEdit, L"編集", Ctrl('H')},
    {kCmdFullToHalfWidth, L"全角英数字を半角に", kNone},
    {kCmdToFullWidth, L"半角文字を全角に", kNone},
    {kCmdToLowerCase, L"大文字を小文字に", kNone},
    {kCmdToUpperCase, L"小文字を大文字に", kNone},
    {kCmdDelete, L"削除", Shortcut{VK_DELETE, false, false}},
    {kCmdSort, L"ソート", CtrlAlt('S')},
    {kCmdReplace, L"部分文字列の一括置換", Ctrl('R')},
    {kCmdExpand, L"展開", Ctrl('E')},
    {kCmdItemUp, L"上へ移動", Ctrl('U')},
    {kCmdItemDown, L"下へ移動", Ctrl('D')},
    {kCmdClearBackHalf, L"後ろ半分をクリア", kNone},
    {kCmdClear, L"クリアー", Ctrl(VK_DELETE)},
    // The Unicode list. Del and Ctrl+Del reach it through the ordinary list's commands, which
    // act on the list that has the focus.
    {kCmdUnicodeDelete, L"削除", kNone},
    {kCmdUnicodeClearBackHalf, L"後ろ半分をクリア", kNone},
    {kCmdUnicodeClear, L"全てクリア", kNone},
    // Shortcuts that no menu shows.
    {kCmdTabMode, L"taben", Ctrl('T')},
    {kCmdWiden, L"widen", Ctrl('W')},
    {kCmdDropSelector, L"adrop", Ctrl('S')},
    {kCmdLock, L"alock", Ctrl('L')},
};

constexpr MenuEntry kConversionLines[] = {
    Item(kCmdFullToHalfWidth),
    Item(kCmdToFullWidth),
    Item(kCmdToLowerCase),
    Item(kCmdToUpperCase),
};

constexpr MenuEntry kListLines[] = {
    Item(kCmdSendCopy),
    Item(kCmdTypePaste),
    Separator(),
    Item(kCmdEdit),
    Submenu(L"変換", kTagConversions, kConversionLines),
    Separator(),
    Item(kCmdDelete),
    Separator(),
    Item(kCmdSort),
    Item(kCmdReplace),
    Separator(),
    Item(kCmdExpand),
    Separator(),
    Item(kCmdItemUp),
    Item(kCmdItemDown),
    Separator(),
    Item(kCmdClearBackHalf),
    Item(kCmdClear),
};

// The Unicode list's menu has no コピー entry (its items paste by Enter and a double click);
// the typed paste stands where that entry would.
constexpr MenuEntry kUnicodeListLines[] = {
    Item(kCmdTypePaste),
    Separator(),
    Item(kCmdUnicodeDelete),
    Separator(),
    Item(kCmdUnicodeClearBackHalf),
    Item(kCmdUnicodeClear),
};

// The options keep their numbers (pellix.ini stores them); 1, 6 and 8 are separators.
constexpr MenuEntry kPasteOptionLines[] = {
    Item(PasteOption(0)),  // none
    Separator(),
    Item(PasteOption(2)),  // a tab added
    Item(PasteOption(3)),  // a space added
    Item(PasteOption(4)),  // a comma added
    Item(PasteOption(5)),  // a line break added
    Separator(),
    Item(PasteOption(7)),  // delimiters removed
    Separator(),
    Item(PasteOption(9)),  // the redirect's target
};

constexpr MenuEntry kHotkeyLines[] = {
    Item(HotkeyItem(0)), Item(HotkeyItem(1)), Item(HotkeyItem(2)),
    Item(HotkeyItem(3)), Item(HotkeyItem(4)),
};

constexpr MenuEntry kVersionLines[] = {Item(kCmdVersionItem)};

constexpr MenuEntry kTrayLines[] = {
    Item(kCmdRestoreChain),
    Separator(),
    Item(kCmdImportText),
    Separator(),
    Submenu(L"貼り付けオプション", kTagPasteOptions, kPasteOptionLines),
    Submenu(L"ホットキーの変更", kTagHotkeys, kHotkeyLines),
    Item(kCmdFilterSettings),
    Item(kCmdSearch),
    Separator(),
    Item(kCmdTransparent),
    Item(kCmdFont),
    Separator(),
    Item(kCmdHelp),
    Submenu(L"バージョン情報", kTagVersion, kVersionLines),
    Separator(),
    Item(kCmdStartWithWindows),
    Item(kCmdExit),
};

constexpr ACCEL kEditBoxKeyLines[] = {
    {FVIRTKEY | FCONTROL, 'C', kEditBoxCopy}, {FVIRTKEY | FCONTROL, 'S', kEditBoxUpdate},
    {FVIRTKEY, VK_RETURN, kEditBoxEnter},     {FVIRTKEY, VK_ESCAPE, kEditBoxCancel},
    {FVIRTKEY | FCONTROL, 'X', kEditBoxCut},
};

constexpr DialogButton kFilterListButtonLines[] = {
    {kIdFilterLoad, L"読み込み"},   {kIdFilterNew, L"新規作成"},
    {kIdFilterRename, L"名前変更"}, {kIdFilterEdit, L"編集"},
    {kIdFilterDelete, L"削除"},     {kIdFilterUp, L"↑"},
    {kIdFilterDown, L"↓"},          {IDOK, L"OK"},
};

}  // namespace

constexpr std::span<const CommandText> kCommandTexts = kTexts;
constexpr std::span<const MenuEntry> kListMenu = kListLines;
constexpr std::span<const MenuEntry> kUnicodeListMenu = kUnicodeListLines;
constexpr std::span<const MenuEntry> kTrayMenu = kTrayLines;
constexpr std::span<const MenuEntry> kPasteOptionsMenu = kPasteOptionLines;
constexpr std::span<const MenuEntry> kHotkeyMenu = kHotkeyLines;
constexpr std::span<const ACCEL> kEditBoxKeys = kEditBoxKeyLines;
constexpr std::span<const DialogButton> kFilterListButtons = kFilterListButtonLines;

const CommandText* FindCommandText(UINT id) {
  const auto found = std::find_if(kCommandTexts.begin(), kCommandTexts.end(),
                                  [id](const CommandText& text) { return text.id == id; });
  return found != kCommandTexts.end() ? &*found : nullptr;
}

const wchar_t* FilterListButtonCaption(int id) {
  const auto found = std::find_if(kFilterListButtons.begin(), kFilterListButtons.end(),
                                  [id](const DialogButton& button) { return button.id == id; });
  return found != kFilterListButtons.end() ? found->caption : L"";
}

}  // namespace pellix::win32
