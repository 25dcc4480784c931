"""Every number the tests send or look for: Windows' own, and pellix's.

pellix's values mirror the C++ sources they are named after (src/win32/ui/control_ids.h and the
files named below); when one changes there, it changes here, and nowhere else in the tests.
"""

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

VK_CONTROL = 0x11
VK_END = 0x23
VK_LCONTROL = 0xA2

FONT_DIALOG_SIZE_FIELD = 0x0472  # cmb3, the common font dialog's size box

# ---- pellix: the main window's controls (control_ids.h) -----------------------------------------

ID_COMBOBOX = 100
ID_BITBTN1 = 101  # the tool button
ID_TABBOX = 102
ID_WIDEBOX = 103
ID_MBOX = 104
ID_LISTBOX = 105
ID_TNTLISTBOX1 = 106
ID_DROPBOX = 107
ID_SEARCH_FIELD = 108

# ---- pellix: the other windows' controls --------------------------------------------------------

INPUT_DIALOG_FIELD = 101  # input_dialog.cpp
EDIT_BOX_FIELD = 101  # lists/edit_box.cpp
FILTER_EDITOR_FIRST_FIELD = 200  # dialogs/filter_editor.cpp

# ---- pellix: commands (control_ids.h) -----------------------------------------------------------

CMD_RESTORE_CHAIN = 1013
CMD_FULL_TO_HALF_WIDTH = 1017
CMD_TO_FULL_WIDTH = 1018
CMD_TO_LOWER_CASE = 1019
CMD_TO_UPPER_CASE = 1020
CMD_IMPORT_TEXT = 1030
CMD_FILTER_SETTINGS = 1031
CMD_TRANSPARENT = 1032
CMD_FONT = 1033
CMD_HELP = 1034
CMD_VERSION_ITEM = 1035
CMD_EXIT = 1036
CMD_SEARCH = 1040
CMD_START_WITH_WINDOWS = 1041
CMD_PASTE_OPTION_FIRST = 1100  # + the option's position, 0..9
CMD_HOTKEY_FIRST = 1120  # + the hotkey menu item's position, 0..4
CMD_SEND_COPY = 1200
CMD_TAB_MODE = 1201
CMD_WIDEN = 1202
CMD_DELETE = 1300
CMD_CLEAR = 1301
CMD_CLEAR_BACK_HALF = 1302
CMD_ITEM_UP = 1303
CMD_ITEM_DOWN = 1304
CMD_EXPAND = 1305
CMD_SORT = 1306
CMD_REPLACE = 1307
CMD_DROP_SELECTOR = 1308
CMD_LOCK = 1309
CMD_EDIT = 1310
CMD_UNICODE_DELETE = 1311
CMD_UNICODE_CLEAR_BACK_HALF = 1312
CMD_UNICODE_CLEAR = 1313

# ---- pellix: private messages -------------------------------------------------------------------

TRAY_CALLBACK = 0x813B  # tray_icon.h: the tray icon's mouse messages, in lParam
