#pragma once
// The program's identifiers in one place: the windows' controls, the commands, the main window's
// timers and the messages the program posts to its own windows. A number taken twice would make
// one owner handle another's control, timer or message.
//
// Each table below is one X(name, number) a line with the number written out, so that the end-to-
// end tests read the ids from this very file as data (tests/e2e/ids_from_header.py) instead of
// keeping copies of them; that script refuses a line of any other shape.

#include <windows.h>

#include <algorithm>
#include <array>

// clang-format off

// The main window's controls.
#define PELLIX_MAIN_CONTROL_IDS(X) \
  X(kIdComboBox, 100)              \
  X(kIdBitBtn1, 101)               \
  X(kIdTabBox, 102)                \
  X(kIdWideBox, 103)               \
  X(kIdMBox, 104)                  \
  X(kIdListBox, 105)               \
  X(kIdTntListBox1, 106)           \
  X(kIdDropBox, 107)               \
  X(kIdSearchField, 108)

// The main window's commands, from its menus, its shortcuts and the tool button's tray menu.
#define PELLIX_COMMAND_IDS(X)                                        \
  X(kCmdRestoreChain, 1013)          /* N13 */                       \
  X(kCmdFullToHalfWidth, 1017)       /* N17 */                       \
  X(kCmdToFullWidth, 1018)           /* N18 */                       \
  X(kCmdToLowerCase, 1019)           /* N19 */                       \
  X(kCmdToUpperCase, 1020)           /* N20 */                       \
  X(kCmdImportText, 1030)                                            \
  X(kCmdFilterSettings, 1031)                                        \
  X(kCmdTransparent, 1032)                                           \
  X(kCmdFont, 1033)                                                  \
  X(kCmdHelp, 1034)                                                  \
  X(kCmdVersionItem, 1035)           /* the line under バージョン情報 */ \
  X(kCmdExit, 1036)                                                  \
  X(kCmdSearch, 1040)                                                \
  X(kCmdStartWithWindows, 1041)                                      \
  X(kCmdPasteOptionFirst, 1100)      /* + the option, 0..9 */         \
  X(kCmdHotkeyFirst, 1120)           /* + the menu position, 0..4 */  \
  X(kCmdSendCopy, 1200)              /* sendcopyExecute */           \
  X(kCmdTabMode, 1201)               /* taben */                     \
  X(kCmdWiden, 1202)                 /* widen */                     \
  X(kCmdTypePaste, 1203)             /* the paste typed as keys */   \
  X(kCmdDelete, 1300)                /* dellistitem */               \
  X(kCmdClear, 1301)                 /* clearlistitem */             \
  X(kCmdClearBackHalf, 1302)         /* crearh */                    \
  X(kCmdItemUp, 1303)                /* itemup */                    \
  X(kCmdItemDown, 1304)              /* itemdown */                  \
  X(kCmdExpand, 1305)                /* aexpand */                   \
  X(kCmdSort, 1306)                  /* asort */                     \
  X(kCmdReplace, 1307)               /* aplace */                    \
  X(kCmdDropSelector, 1308)          /* adrop */                     \
  X(kCmdLock, 1309)                  /* alock */                     \
  X(kCmdEdit, 1310)                  /* ledit */                     \
  X(kCmdUnicodeDelete, 1311)         /* wdelact */                   \
  X(kCmdUnicodeClearBackHalf, 1312)  /* wclearhact */                \
  X(kCmdUnicodeClear, 1313)          /* wclearact */

// The input dialog's prompt and field.
#define PELLIX_INPUT_DIALOG_IDS(X) \
  X(kIdInputPrompt, 100)           \
  X(kIdInputField, 101)

// The edit box's field and its commands (buttons and keys).
#define PELLIX_EDIT_BOX_IDS(X)                                              \
  X(kIdEditBoxField, 101)                                                   \
  X(kEditBoxCopy, 201)    /* pcopy */                                       \
  X(kEditBoxUpdate, 202)  /* psave */                                       \
  X(kEditBoxCancel, 203)  /* pcansel */                                     \
  X(kEditBoxCut, 204)     /* pcut */                                        \
  X(kEditBoxEnter, 205)   /* Enter: updates from the field, presses a focused button */

// The filter list dialog's list and buttons.
#define PELLIX_FILTER_LIST_IDS(X) \
  X(kIdFilterList, 300)           \
  X(kIdFilterLoad, 301)           /* Button1 */ \
  X(kIdFilterNew, 302)            /* Button2 */ \
  X(kIdFilterRename, 303)         /* Button3 */ \
  X(kIdFilterEdit, 304)           /* Button8 */ \
  X(kIdFilterDelete, 305)         /* Button7 */ \
  X(kIdFilterUp, 306)             /* Button4 */ \
  X(kIdFilterDown, 307)           /* Button5 */

// The filter editor's first field; the others follow in the order the Tab key visits them.
#define PELLIX_FILTER_EDITOR_IDS(X) \
  X(kIdFilterEditorFirstField, 200)

// The main window's timers.
#define PELLIX_TIMER_IDS(X)                                                  \
  X(kTimerCaptureRetry, 1)  /* a change whose clipboard another program held */ \
  X(kTimer1, 2)             /* samples the window pastes go to, every second */ \
  X(kTimerPasteWait, 3)     /* a paste waits for its target, or types a slice */ \
  X(kTimerAutoSave, 4)      /* looks for changes to save in the background */   \
  X(kTimerFolderPoll, 5)    /* looks at the folder shared with other instances */ \
  X(kTimerFolderSoon, 6)    /* the same, a moment after a change was noticed */

// Messages posted to the program's own windows (WM_APP is 0x8000). The filters' failure on a
// capture is told with a message, so that its box opens only after the change notice has been
// passed on, and the next viewer never waits for the user.
#define PELLIX_PRIVATE_MESSAGES(X)                                                           \
  X(kMsgShown, 0x8001)             /* main window: it has become visible */                 \
  X(kMsgFilterFailed, 0x8002)      /* main window: the filters failed on a capture */       \
  X(kMsgFileNotice, 0x8003)        /* main window: something about the files is to be told */ \
  X(kMsgSearchReport, 0x8004)      /* search field: the changes waiting have all arrived */ \
  X(kMsgFolderChanged, 0x8005)     /* main window: a file in the program's folder changed */ \
  X(kMsgFolderLooked, 0x8006)      /* main window: a look at the folder has its findings */ \
  X(kMsgListRead, 0x8007)          /* main window: a list read in the background is done */ \
  X(kMsgSearchKeysFolded, 0x8008)  /* main window: a list's search keys are folded */       \
  X(kTrayCallbackMessage, 0x813B)  /* main window: the tray icon's mouse messages, in lParam */

// Tell a menu's submenus apart when they open.
#define PELLIX_MENU_TAGS(X)   \
  X(kTagConversions, 1)       \
  X(kTagPasteOptions, 10)     \
  X(kTagHotkeys, 11)          \
  X(kTagVersion, 12)

// clang-format on

namespace pellix::win32 {

#define PELLIX_ENUMERATOR(name, value) name = value,

enum ControlId : int { PELLIX_MAIN_CONTROL_IDS(PELLIX_ENUMERATOR) };
enum CommandId : int { PELLIX_COMMAND_IDS(PELLIX_ENUMERATOR) };
enum InputDialogId : int { PELLIX_INPUT_DIALOG_IDS(PELLIX_ENUMERATOR) };
enum EditBoxId : WORD { PELLIX_EDIT_BOX_IDS(PELLIX_ENUMERATOR) };
enum FilterListId : int { PELLIX_FILTER_LIST_IDS(PELLIX_ENUMERATOR) };
enum FilterEditorId : int { PELLIX_FILTER_EDITOR_IDS(PELLIX_ENUMERATOR) };
enum TimerId : UINT_PTR { PELLIX_TIMER_IDS(PELLIX_ENUMERATOR) };
enum PrivateMessage : UINT { PELLIX_PRIVATE_MESSAGES(PELLIX_ENUMERATOR) };
enum MenuTag : UINT { PELLIX_MENU_TAGS(PELLIX_ENUMERATOR) };

#undef PELLIX_ENUMERATOR

namespace id_checks {

template <std::size_t N>
constexpr bool AllDifferent(std::array<long long, N> values) {
  std::sort(values.begin(), values.end());
  return std::adjacent_find(values.begin(), values.end()) == values.end();
}

#define PELLIX_ID_VALUE(name, value) value,
#define PELLIX_ID_COUNT(name, value) +1
// WM_COMMAND carries the main window's control ids and its command ids alike.
static_assert(AllDifferent(std::array<long long, 0 PELLIX_MAIN_CONTROL_IDS(PELLIX_ID_COUNT)
                                                     PELLIX_COMMAND_IDS(PELLIX_ID_COUNT)>{
                  PELLIX_MAIN_CONTROL_IDS(PELLIX_ID_VALUE) PELLIX_COMMAND_IDS(PELLIX_ID_VALUE)}),
              "a main window id is taken twice");
static_assert(AllDifferent(std::array<long long, 0 PELLIX_PRIVATE_MESSAGES(PELLIX_ID_COUNT)>{
                  PELLIX_PRIVATE_MESSAGES(PELLIX_ID_VALUE)}),
              "a private message is taken twice");
#undef PELLIX_ID_COUNT
#undef PELLIX_ID_VALUE

}  // namespace id_checks

static_assert(kMsgShown == WM_APP + 1, "the private messages start just above WM_APP");

}  // namespace pellix::win32
