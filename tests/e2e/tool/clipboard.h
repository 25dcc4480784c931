// The clipboard as the commands and the clipboard actors use it. Every opening is closed and every
// window made for it destroyed when its owner goes out of scope, so nothing holds the clipboard
// after a command, even one that failed half-way.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace pxtool {

// OpenClipboard, tried `attempts` times `retry_ms` apart: another program may hold it a moment.
bool TryOpenClipboard(HWND owner, int attempts, DWORD retry_ms);

// Open for as long as it lives; waits briefly for another holder, never forever.
class ClipboardOpening {
 public:
  explicit ClipboardOpening(HWND owner);
  ClipboardOpening(const ClipboardOpening&) = delete;
  ClipboardOpening& operator=(const ClipboardOpening&) = delete;
  ~ClipboardOpening() { CloseClipboard(); }
};

// A clipboard block locked for reading; empty when the format is not there.
class LockedBlock {
 public:
  explicit LockedBlock(UINT format);
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;
  ~LockedBlock() {
    if (data_ != nullptr) {
      GlobalUnlock(block_);
    }
  }
  const void* data() const { return data_; }
  size_t size() const { return data_ != nullptr ? GlobalSize(block_) : 0; }

 private:
  HANDLE block_ = nullptr;
  const void* data_ = nullptr;
};

// With the clipboard open: its CF_UNICODETEXT. The block need not hold a terminator, so nothing
// past its end is read.
std::optional<std::wstring> OpenClipboardUnicodeText();

// A movable global block holding a copy of the bytes, as SetClipboardData wants it.
HGLOBAL GlobalCopy(const void* data, size_t size);

// The clipboard needs an owner window: SetClipboardData fails after EmptyClipboard with none. A
// message-only window, destroyed with this object, so that nobody who opens the clipboard after
// us waits on a window that no longer answers.
class OwnerWindow {
 public:
  OwnerWindow();
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  ~OwnerWindow() { DestroyWindow(hwnd_); }
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

}  // namespace pxtool
