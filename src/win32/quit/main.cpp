// pellix-quit: asks a running pellix, in the same Wine prefix or Windows session, to end the way
// its tray menu's 終了 does (a WM_CLOSE posted to its main window), so that it writes its
// settings and lists. scripts/run.sh uses it when the terminal's Ctrl+C stops it: a signal
// would end the Windows program under Wine without either.
// Exit code 0 when a pellix was asked, 1 when none runs.

#include <windows.h>

#include <cwchar>
#include <string_view>

#include "win32/platform/unique_handle.h"

namespace {

bool IsPellixProcess(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  const pellix::win32::UniqueHandle process(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process.Valid()) {
    return false;
  }
  wchar_t path[MAX_PATH * 4]{};
  DWORD length = static_cast<DWORD>(std::size(path));
  if (!QueryFullProcessImageNameW(process.Get(), 0, path, &length)) {
    return false;
  }
  const std::wstring_view image(path, length);
  const std::wstring_view name = image.substr(image.find_last_of(L"\\/") + 1);
  return name.size() == 10 && _wcsnicmp(name.data(), L"pellix.exe", 10) == 0;
}

BOOL CALLBACK AskToClose(HWND window, LPARAM asked) {
  wchar_t className[32]{};
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  if (std::wstring_view(className) == L"MainWindow" && IsPellixProcess(window) &&
      PostMessageW(window, WM_CLOSE, 0, 0) != FALSE) {
    ++*reinterpret_cast<int*>(asked);
  }
  return TRUE;
}

}  // namespace

int wmain() {
  int asked = 0;
  EnumWindows(AskToClose, reinterpret_cast<LPARAM>(&asked));
  return asked > 0 ? 0 : 1;
}
