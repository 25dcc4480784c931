// pxtestwin: a window with the kinds of controls the end-to-end tests read from another process,
// so the reading side can be proved without the real program. Its list view holds no strings: it
// is owner-data and answers LVN_GETDISPINFO, the way a list of 100,000 items is kept cheap.
//
//   pxtestwin [--items N] [--title TEXT]

// windows.h must come first; commctrl.h builds on it.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr int kListViewId = 100;
constexpr int kListBoxId = 101;
constexpr int kComboBoxId = 102;
constexpr int kEditId = 103;

int g_item_count = 100000;

// The owner's rule for item texts; the tests expect exactly this.
void ItemText(int index, wchar_t* out, int capacity) {
  if (out != nullptr && capacity > 0) {
    swprintf(out, static_cast<size_t>(capacity), L"項目 %06d", index);
  }
}

HWND CreateChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y,
                 int w, int h, int id) {
  return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

void CreateControls(HWND hwnd) {
  HWND list_view =
      CreateChild(hwnd, WC_LISTVIEWW, L"",
                  WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 8, 8,
                  300, 300, kListViewId);
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 260;
  column.pszText = const_cast<wchar_t*>(L"項目");
  SendMessageW(list_view, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  SendMessageW(list_view, LVM_SETITEMCOUNT, static_cast<WPARAM>(g_item_count),
               LVSICF_NOINVALIDATEALL);

  HWND list_box = CreateChild(hwnd, L"LISTBOX", L"",
                              WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_EXTENDEDSEL,
                              320, 8, 200, 120, kListBoxId);
  for (const wchar_t* item : {L"りんご", L"banana", L"漢字テキスト", L"last"}) {
    SendMessageW(list_box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  SendMessageW(list_box, LB_SETSEL, TRUE, 0);
  SendMessageW(list_box, LB_SETSEL, TRUE, 2);
  SendMessageW(list_box, LB_SETCARETINDEX, 2, FALSE);

  HWND combo_box = CreateChild(hwnd, WC_COMBOBOXW, L"", WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL,
                               320, 140, 200, 200, kComboBoxId);
  for (const wchar_t* item : {L"一", L"二", L"三"}) {
    SendMessageW(combo_box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  SendMessageW(combo_box, CB_SETCURSEL, 1, 0);

  CreateChild(hwnd, L"EDIT", L"編集テキスト", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 320, 180,
              200, 24, kEditId);
  SetFocus(list_view);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_CREATE:
      CreateControls(hwnd);
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->idFrom == kListViewId && header->code == LVN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(lparam);
        if ((info->item.mask & LVIF_TEXT) != 0) {
          ItemText(info->item.iItem, info->item.pszText, info->item.cchTextMax);
        }
        return 0;
      }
      break;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  std::wstring title = L"pxtestwin テスト";
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  for (int i = 1; argv != nullptr && i + 1 < argc; i += 2) {
    if (wcscmp(argv[i], L"--items") == 0) {
      g_item_count = _wtoi(argv[i + 1]);
    } else if (wcscmp(argv[i], L"--title") == 0) {
      title = argv[i + 1];
    }
  }
  LocalFree(argv);

  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"PxTestWindow";
  RegisterClassExW(&wc);

  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 40, 40, 560,
                              380, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) {
    return 1;
  }
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(hwnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}
