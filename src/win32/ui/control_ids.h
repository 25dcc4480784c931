#pragma once
// The program's identifiers in one place: the main window's controls and commands, its timers
// and the messages the program posts to its own windows. A number taken twice would make one
// owner handle another's timer or message.

#include <windows.h>

namespace pellix::win32 {

enum ControlId : int {
  kIdComboBox = 100,
  kIdBitBtn1,
  kIdTabBox,
  kIdWideBox,
  kIdMBox,
  kIdListBox,
  kIdTntListBox1,
  kIdDropBox,
  kIdSearchField,
};

enum CommandId : int {
  kCmdRestoreChain = 1013,      // N13 クリップボードチェーンの復旧
  kCmdImportText = 1030,        // テキストの取り込み
  kCmdFilterSettings,           // フィルター設定
  kCmdTransparent,              // 透過ウィンドウ
  kCmdFont,                     // フォント
  kCmdHelp,                     // ヘルプ
  kCmdVersionItem,              // the version line under バージョン情報
  kCmdExit,                     // 終了
  kCmdSearch = 1040,            // 検索, Ctrl+F
  kCmdStartWithWindows,         // Windows の起動時に開始
  kCmdPasteOptionFirst = 1100,  // + position 0..9
  kCmdHotkeyFirst = 1120,       // + position 0..4
  kCmdSendCopy = 1200,          // コピー（他アプリへの貼り付け）, Ctrl+C
  kCmdTabMode,                  // taben, Ctrl+T
  kCmdWiden,                    // widen, Ctrl+W
  kCmdDelete = 1300,            // dellistitem 削除, Del
  kCmdClear,                    // clearlistitem クリアー, Ctrl+Del
  kCmdClearBackHalf,            // crearh 後ろ半分をクリア
  kCmdItemUp,                   // itemup 上へ移動, Ctrl+U
  kCmdItemDown,                 // itemdown 下へ移動, Ctrl+D
  kCmdExpand,                   // aexpand 展開, Ctrl+E
  kCmdSort,                     // asort ソート, Ctrl+Alt+S
  kCmdReplace,                  // aplace 部分文字列の一括置換, Ctrl+R
  kCmdDropSelector,             // adrop, Ctrl+S
  kCmdLock,                     // alock, Ctrl+L
  kCmdEdit,                     // ledit 編集, Ctrl+H
  kCmdUnicodeDelete,            // wdelact 削除, Del in the Unicode list
  kCmdUnicodeClearBackHalf,     // wclearhact 後ろ半分をクリア
  kCmdUnicodeClear,             // wclearact 全てクリア, Ctrl+Del in the Unicode list
  kCmdFullToHalfWidth = 1017,   // N17 全角英数字を半角に
  kCmdToFullWidth,              // N18 半角文字を全角に
  kCmdToLowerCase,              // N19 大文字を小文字に
  kCmdToUpperCase,              // N20 小文字を大文字に
};

// The main window's timers.
enum TimerId : UINT_PTR {
  kTimerCaptureRetry = 1,  // a change whose clipboard another program held
  kTimer1,                 // samples the window pastes go to, every second
  kTimerPasteWait,         // waits for the paste target to come forward
  kTimerAutoSave,          // looks for changes to save in the background
};

// Messages posted to the program's own windows.
enum PrivateMessage : UINT {
  kMsgShown = WM_APP + 1,  // main window: it has become visible
  // main window: the filters failed on a capture; the box opens only after the change notice
  // has been passed on, so the next viewer never waits for the user
  kMsgFilterFailed,
  kMsgFileNotice,    // main window: something about the files is to be told
  kMsgSearchReport,  // search field: the changes waiting in the queue have all arrived
};

}  // namespace pellix::win32
