#include "win32/shell/application.h"

#include <windows.h>
// Needs the types of windows.h.
#include <commctrl.h>

#include <random>

#include "core/app/background_writer.h"
#include "core/app/instance_tag.h"
#include "core/app/model.h"
#include "core/app/saver.h"
#include "core/platform_services.h"
#include "core/sync/shared_files.h"
#include "win32/platform/local_folders.h"
#include "win32/platform/module_path.h"
#include "win32/platform/unique_handle.h"
#include "win32/platform/wide_string.h"
#include "win32/platform/win32_file_system.h"
#include "win32/shell/later_windows.h"
#include "win32/shell/main_window.h"
#include "win32/ui/error_reporter.h"
#include "win32/ui/keyboard_navigation.h"
#include "win32/ui/modal_loops.h"
#include "win32/ui/secondary_window.h"

namespace pellix::win32 {
namespace {

constexpr wchar_t kMutexName[] = L"pellix_Mutex";

// The executable's folder with its trailing separator.
std::wstring ExeDir() {
  const std::wstring path = ExecutablePath();
  return path.substr(0, path.find_last_of(L"\\/") + 1);
}

// Bits for a new installation's tag: no two machines may draw the same.
std::uint64_t RandomBits() {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  std::random_device device;
  return (static_cast<std::uint64_t>(device()) << 32) ^
         static_cast<std::uint64_t>(counter.QuadPart) ^
         (static_cast<std::uint64_t>(GetCurrentProcessId()) << 16) ^ GetTickCount64();
}

// A window's shortcuts work wherever its focus is, and nowhere else; a window not made yet has
// none.
bool TranslateShortcut(HWND window, HACCEL shortcuts, MSG& message) {
  return window != nullptr && message.hwnd != nullptr &&
         GetAncestor(message.hwnd, GA_ROOT) == window &&
         TranslateAcceleratorW(window, shortcuts, &message);
}

void RouteMessage(const MainWindow& mainWindow, const LaterWindows& windows, MSG& message) {
  if (mainWindow.FieldTakesKey(message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
    return;
  }
  const EditBox& editBox = windows.Edit();
  if (TranslateShortcut(mainWindow.Handle(), mainWindow.Accelerators(), message) ||
      TranslateShortcut(editBox.Handle(), editBox.Accelerators(), message)) {
    return;
  }
  if (MoveFocusByTab(mainWindow.Handle(), message) || PressMnemonic(mainWindow.Handle(), message)) {
    return;
  }
  if (windows.TakeDialogMessage(message)) {
    return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

int RunMessageLoop(ErrorSink& errors, const MainWindow& mainWindow, const LaterWindows& windows) {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // A failure here is one message's, as in any handler: it is told and the program goes on
    // with its lists, which leaving the loop would throw away unsaved.
    try {
      RouteMessage(mainWindow, windows, message);
    } catch (...) {
      errors.Report(std::current_exception());
    }
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int Application::Run() {
  // Created once and tested, so two instances started together cannot both miss each other.
  const UniqueHandle mutex(CreateMutexW(nullptr, FALSE, kMutexName));
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    return 0;  // another instance runs: end silently
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES |
                                                     ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  ModalLoops loops;
  ErrorReporter errors;
  errors.UseLoops(loops);
  try {
    // The hidden owner keeps the program off the task bar.
    SecondaryWindow owner(errors, L"PellixOwner", kAppTitle, WS_POPUP, WS_EX_TOOLWINDOW, SIZE{0, 0},
                          nullptr);
    SetWindowLongPtrW(owner.Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);

    const std::wstring exeDir = ExeDir();
    const io::AppFolder folder(FromWide(exeDir), PlatformTextServices());
    app::Model model;
    // Other instances may share the folder (two PCs): this one's temporary and lock files carry
    // its tag, and every file of the folder is written only over the version last seen of it.
    const std::u16string tag =
        app::InstanceTag(PlatformFileSystem(), LocalProgramFolder(), RandomBits());
    const Win32FileSystem platformFiles(tag);
    const sync::LockSettings lock{
        std::string(tag.begin(), tag.end()),
        sync::LockTiming{[] { return static_cast<std::uint64_t>(GetTickCount64()); },
                         [](unsigned ms) { Sleep(ms); }}};
    sync::SharedFiles shared(platformFiles, folder.Dir(),
                             sync::SharedFiles::Options{lock, LocalTimestamp});
    // Every file goes through the writer's lock, so a background save and a write of the
    // window's never meet in one file.
    app::BackgroundWriter writer(
        shared, [] { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST); });
    const app::GuardedFileSystem files(shared, writer);
    app::Saver saver(files, folder);
    MainWindow mainWindow(errors, loops, model, saver, folder, files, writer,
                          FolderSharing{shared, platformFiles, lock, tag}, owner.Handle(), exeDir);
    mainWindow.Start();
    LaterWindows windows(LaterWindows::Context{
        errors, model, saver, loops, files, folder, exeDir, mainWindow.Handle(),
        mainWindow.Tooltips(), [&mainWindow](bool currentChanged, bool ansiEmptied) {
          mainWindow.FollowListStore(currentChanged, ansiEmptied);
        }});
    mainWindow.AttachWindows(windows);
    if (errors.StartupFailed()) {
      return 1;
    }
    errors.StartupCompleted();

    ShowWindow(mainWindow.Handle(), SW_SHOWNORMAL);
    UpdateWindow(mainWindow.Handle());
    // The edit box's Enter and Esc are its shortcuts, translated before the dialog manager
    // sees them; it gives the box Tab between its field and buttons.
    return RunMessageLoop(errors, mainWindow, windows);
  } catch (...) {
    // A failure while starting: nothing has been written, and nothing will be.
    ShowStopBox(nullptr, ErrorMessage(std::current_exception()));
    return 1;
  }
}

}  // namespace pellix::win32
