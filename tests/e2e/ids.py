"""Every number the tests send or look for: Windows' own, and pellix's.

pellix's numbers are not copied here: they are read from the X(name, number) tables of
src/win32/ui/control_ids.h, through the pellix_ids.json that the build writes from them (named by
PELLIX_IDS) or, when the tests are run by hand without it, from the header itself by the same
script (ids_from_header.py). The names below are the tests' names for them.
"""

from __future__ import annotations

import json
import os
from pathlib import Path

import ids_from_header

# ---- Windows: messages --------------------------------------------------------------------------

WM_NULL = 0x0000
WM_CLOSE = 0x0010
WM_QUERYENDSESSION = 0x0011
WM_IME_STARTCOMPOSITION = 0x010D
WM_IME_ENDCOMPOSITION = 0x010E
WM_COMMAND = 0x0111
WM_SYSCOMMAND = 0x0112
WM_LBUTTONDOWN = 0x0201
WM_RBUTTONDOWN = 0x0204
WM_CLEAR = 0x0303

SC_MINIMIZE = 0xF020

EM_SETSEL = 0x00B1
EM_SETMODIFY = 0x00B9
BM_GETCHECK = 0x00F0
BM_CLICK = 0x00F5
CB_SETCURSEL = 0x014E
CBN_SELCHANGE = 1
LB_SETCURSEL = 0x0186
LVM_GETITEMCOUNT = 0x1004
LVM_ENSUREVISIBLE = 0x1013

# ---- Windows: dialog answers, styles, show commands, keys ---------------------------------------

IDOK = 1
IDCANCEL = 2
IDRETRY = 4
IDYES = 6
IDNO = 7

WS_TABSTOP = 0x00010000
WS_HSCROLL = 0x00100000
WS_VSCROLL = 0x00200000
WS_EX_TOPMOST = 0x00000008
WS_EX_TOOLWINDOW = 0x00000080
WS_EX_APPWINDOW = 0x00040000
WS_EX_LAYERED = 0x00080000

BS_TYPEMASK = 0x0F
BS_ICON_OR_BITMAP = 0x00C0  # BS_ICON | BS_BITMAP
SS_TYPEMASK = 0x1F

SW_HIDE = 0
SW_SHOWNOACTIVATE = 4

MOD_CONTROL = 2
MOD_SHIFT = 4

VK_SHIFT = 0x10
VK_CONTROL = 0x11
VK_MENU = 0x12
VK_END = 0x23
VK_V = 0x56
VK_LWIN = 0x5B
VK_RWIN = 0x5C
VK_LSHIFT = 0xA0
VK_RSHIFT = 0xA1
VK_LCONTROL = 0xA2
VK_RCONTROL = 0xA3
VK_LMENU = 0xA4
VK_RMENU = 0xA5

FONT_DIALOG_SIZE_FIELD = 0x0472  # cmb3, the common font dialog's size box

def _pellix_ids() -> dict[str, int]:
    generated = os.environ.get("PELLIX_IDS")
    if generated:
        return ids_from_header.flatten(json.loads(Path(generated).read_text(encoding="utf-8")))
    return ids_from_header.flatten(ids_from_header.read_tables())


_PELLIX = _pellix_ids()

# ---- pellix: the main window's controls ---------------------------------------------------------

ID_COMBOBOX = _PELLIX["kIdComboBox"]
ID_BITBTN1 = _PELLIX["kIdBitBtn1"]  # the tool button
ID_TABBOX = _PELLIX["kIdTabBox"]
ID_WIDEBOX = _PELLIX["kIdWideBox"]
ID_MBOX = _PELLIX["kIdMBox"]
ID_LISTBOX = _PELLIX["kIdListBox"]
ID_TNTLISTBOX1 = _PELLIX["kIdTntListBox1"]
ID_DROPBOX = _PELLIX["kIdDropBox"]
ID_SEARCH_FIELD = _PELLIX["kIdSearchField"]

# ---- pellix: the other windows' controls --------------------------------------------------------

INPUT_DIALOG_FIELD = _PELLIX["kIdInputField"]
EDIT_BOX_FIELD = _PELLIX["kIdEditBoxField"]
FILTER_EDITOR_FIRST_FIELD = _PELLIX["kIdFilterEditorFirstField"]

# ---- pellix: commands ---------------------------------------------------------------------------

CMD_RESTORE_CHAIN = _PELLIX["kCmdRestoreChain"]
CMD_FULL_TO_HALF_WIDTH = _PELLIX["kCmdFullToHalfWidth"]
CMD_TO_FULL_WIDTH = _PELLIX["kCmdToFullWidth"]
CMD_TO_LOWER_CASE = _PELLIX["kCmdToLowerCase"]
CMD_TO_UPPER_CASE = _PELLIX["kCmdToUpperCase"]
CMD_IMPORT_TEXT = _PELLIX["kCmdImportText"]
CMD_FILTER_SETTINGS = _PELLIX["kCmdFilterSettings"]
CMD_TRANSPARENT = _PELLIX["kCmdTransparent"]
CMD_FONT = _PELLIX["kCmdFont"]
CMD_HELP = _PELLIX["kCmdHelp"]
CMD_VERSION_ITEM = _PELLIX["kCmdVersionItem"]
CMD_EXIT = _PELLIX["kCmdExit"]
CMD_SEARCH = _PELLIX["kCmdSearch"]
CMD_START_WITH_WINDOWS = _PELLIX["kCmdStartWithWindows"]
CMD_PASTE_OPTION_FIRST = _PELLIX["kCmdPasteOptionFirst"]  # + the option's position, 0..9
CMD_HOTKEY_FIRST = _PELLIX["kCmdHotkeyFirst"]  # + the hotkey menu item's position, 0..4
CMD_SEND_COPY = _PELLIX["kCmdSendCopy"]
CMD_TAB_MODE = _PELLIX["kCmdTabMode"]
CMD_TYPE_PASTE = _PELLIX["kCmdTypePaste"]
CMD_WIDEN = _PELLIX["kCmdWiden"]
CMD_DELETE = _PELLIX["kCmdDelete"]
CMD_CLEAR = _PELLIX["kCmdClear"]
CMD_CLEAR_BACK_HALF = _PELLIX["kCmdClearBackHalf"]
CMD_ITEM_UP = _PELLIX["kCmdItemUp"]
CMD_ITEM_DOWN = _PELLIX["kCmdItemDown"]
CMD_EXPAND = _PELLIX["kCmdExpand"]
CMD_SORT = _PELLIX["kCmdSort"]
CMD_REPLACE = _PELLIX["kCmdReplace"]
CMD_DROP_SELECTOR = _PELLIX["kCmdDropSelector"]
CMD_LOCK = _PELLIX["kCmdLock"]
CMD_EDIT = _PELLIX["kCmdEdit"]
CMD_UNICODE_DELETE = _PELLIX["kCmdUnicodeDelete"]
CMD_UNICODE_CLEAR_BACK_HALF = _PELLIX["kCmdUnicodeClearBackHalf"]
CMD_UNICODE_CLEAR = _PELLIX["kCmdUnicodeClear"]

# ---- pellix: private messages -------------------------------------------------------------------

TRAY_CALLBACK = _PELLIX["kTrayCallbackMessage"]  # the tray icon's mouse messages, in lParam
