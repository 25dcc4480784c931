// Program entry: one instance per session, the six windows in their order, the message loop.

#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>

#include <string>

#include "win32/app/about_box.h"
#include "win32/app/error_reporter.h"
#include "win32/app/main_window.h"
#include "win32/app/secondary_window.h"
#include "win32/platform/unique_handle.h"

namespace pellix::win32 {
namespace {

constexpr wchar_t kMutexName[] = L"pellix_Mutex";

// The executable's folder with its trailing separator; any path length.
std::wstring ExeDir() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

int RunMessageLoop(const AboutBox& about) {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(about.Handle(), &message)) {
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

int Run() {
  if (UniqueHandle running(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kMutexName)); running.Valid()) {
    return 0;  // another instance runs: end silently
  }
  const UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES |
                                                     ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  ErrorReporter errors;
  try {
    // The hidden owner keeps the program off the task bar.
    SecondaryWindow owner(errors, L"PellixOwner", kAppTitle, WS_POPUP, WS_EX_TOOLWINDOW, SIZE{0, 0},
                          nullptr);
    SetWindowLongPtrW(owner.Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);

    MainWindow mainWindow(errors, owner.Handle(), ExeDir());
    mainWindow.Start();
    const DWORD tool = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    SecondaryWindow editBox(errors, L"EditBox", L"編集ボックス", tool | WS_THICKFRAME, 0,
                            SIZE{300, 60}, mainWindow.Handle());
    SecondaryWindow filterList(errors, L"FilterListDialog", L"フィルター設定", tool, 0,
                               SIZE{300, 260}, mainWindow.Handle());
    SecondaryWindow filterEditor(errors, L"FilterEditor", L"フィルター編集", tool, 0,
                                 SIZE{400, 420}, mainWindow.Handle());
    SecondaryWindow memo(errors, L"MemoWindow", L"", WS_POPUP, WS_EX_TOOLWINDOW, SIZE{232, 140},
                         mainWindow.Handle());
    AboutBox about(errors, mainWindow.Handle());
    mainWindow.AttachWindows(editBox.Handle(), memo.Handle(), &about);
    if (errors.StartupFailed()) {
      return 1;
    }
    errors.StartupCompleted();

    ShowWindow(mainWindow.Handle(), SW_SHOWNORMAL);
    UpdateWindow(mainWindow.Handle());
    return RunMessageLoop(about);
  } catch (...) {
    // A failure while starting: nothing has been written, and nothing will be.
    ShowStopBox(nullptr, ErrorMessage(std::current_exception()));
    return 1;
  }
}

}  // namespace
}  // namespace pellix::win32

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return pellix::win32::Run();
}
