#pragma once
// Tells the main window when a file in the program's folder changes, so that what another
// instance sharing the folder wrote is taken in within moments. A thread of its own waits on the
// file system's change notices and posts one message at a time; the window then looks at the
// folder itself. Changes of files that are only ever in passing (temporary and lock files) are
// not told. Some network shares give no notices: the window's poll covers them.

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "win32/platform/unique_handle.h"

namespace pellix::win32 {

class FolderWatch {
 public:
  FolderWatch() = default;
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;
  ~FolderWatch() { Stop(); }

  // False when the folder cannot be watched.
  bool Start(const std::wstring& dir, HWND window, UINT message);
  void Stop();
  // The window has the message: the next change is told again.
  void Taken() { posted_.store(false); }

 private:
  void Run();
  void Tell();

  UniqueHandle dir_;
  UniqueHandle stop_;
  UniqueHandle ready_;
  HWND window_ = nullptr;
  UINT message_ = 0;
  std::atomic<bool> posted_{false};
  std::optional<std::thread> thread_;
};

}  // namespace pellix::win32
