// What the long-running actors share: announcing themselves on stdout and logging JSON lines into
// a file that the harness reads while they run.
#pragma once

#include <windows.h>

#include <string>

#include "json_writer.h"

namespace pxtool {

// One JSON line on stdout, at once: the harness waits for it to know the actor is in place.
void Announce(const JsonWriter& json);

// A log file opened for appending, shared so the harness can read it meanwhile.
HANDLE OpenLog(const std::wstring& path);

// Every line must be in the file as soon as it is written: the test reads it while we run.
void AppendLogLine(HANDLE log, const std::string& line);

// A hidden window that is there to be told to stop (WM_CLOSE, which ends PumpUntil) and to hold
// what goes with a window, such as a hotkey.
class HiddenWindow {
 public:
  explicit HiddenWindow(const wchar_t* title);
  HiddenWindow(const HiddenWindow&) = delete;
  HiddenWindow& operator=(const HiddenWindow&) = delete;
  ~HiddenWindow();
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

// The tick count `seconds` from now (none for a negative count).
inline ULONGLONG DeadlineIn(long long seconds) {
  return GetTickCount64() + static_cast<ULONGLONG>(seconds > 0 ? seconds : 0) * 1000;
}

// Dispatches messages until the deadline or until WM_QUIT or WM_CLOSE comes by; true when told to
// stop.
bool PumpUntil(ULONGLONG deadline);

}  // namespace pxtool
