#pragma once
// Owns a kernel HANDLE or a file search: move-only, closed once.

#include <windows.h>

#include <utility>

namespace pellix::win32 {

class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset(std::exchange(other.handle_, nullptr));
    }
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  HANDLE Get() const { return handle_; }
  bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  void Reset(HANDLE handle = nullptr) {
    if (Valid()) {
      CloseHandle(handle_);
    }
    handle_ = handle;
  }
  // Closes now and reports whether CloseHandle succeeded.
  bool Close() {
    const bool ok = !Valid() || CloseHandle(handle_) != 0;
    handle_ = nullptr;
    return ok;
  }

 private:
  HANDLE handle_ = nullptr;
};

// Owns a search of FindFirstFileW, ended by FindClose whatever happens while it runs.
class FindHandle {
 public:
  explicit FindHandle(HANDLE search) : search_(search) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (Valid()) {
      FindClose(search_);
    }
  }

  HANDLE Get() const { return search_; }
  bool Valid() const { return search_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE search_;
};

}  // namespace pellix::win32
