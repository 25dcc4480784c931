#include "actors.h"

#include "base.h"

namespace pxtool {

void Announce(const JsonWriter& json) {
  WriteRaw(STD_OUTPUT_HANDLE, json.str() + "\n");
  FlushFileBuffers(GetStdHandle(STD_OUTPUT_HANDLE));
}

HANDLE OpenLog(const std::wstring& path) {
  HANDLE log = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) {
    FailWin32(L"CreateFileW " + path);
  }
  return log;
}

void AppendLogLine(HANDLE log, const std::string& line) {
  DWORD written = 0;
  WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  FlushFileBuffers(log);
}

HiddenWindow::HiddenWindow(const wchar_t* title) {
  hwnd_ = CreateWindowExW(0, L"STATIC", title, WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                          GetModuleHandleW(nullptr), nullptr);
  if (hwnd_ == nullptr) {
    FailWin32(L"CreateWindowExW");
  }
}

// WM_CLOSE has usually destroyed it already (a static control closes as any window does).
HiddenWindow::~HiddenWindow() {
  if (IsWindow(hwnd_)) {
    DestroyWindow(hwnd_);
  }
}

bool PumpUntil(ULONGLONG deadline) {
  for (ULONGLONG now = GetTickCount64(); now < deadline; now = GetTickCount64()) {
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT || msg.message == WM_CLOSE) {
        DispatchMessageW(&msg);
        return true;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return false;
}

}  // namespace pxtool
