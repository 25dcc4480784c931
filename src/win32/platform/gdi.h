#pragma once
// Owners for GDI objects and the other user-interface handles that must be freed exactly once.

#include <windows.h>

#include <utility>

namespace pellix::win32 {

template <typename Handle, BOOL(WINAPI* Free)(Handle)>
class UniqueGdi {
 public:
  UniqueGdi() = default;
  explicit UniqueGdi(Handle handle) : handle_(handle) {}
  UniqueGdi(const UniqueGdi&) = delete;
  UniqueGdi& operator=(const UniqueGdi&) = delete;
  UniqueGdi(UniqueGdi&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueGdi& operator=(UniqueGdi&& other) noexcept {
    if (this != &other) {
      Reset(std::exchange(other.handle_, nullptr));
    }
    return *this;
  }
  ~UniqueGdi() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Hands the handle to a new owner (a menu that takes its submenu).
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (handle_ != nullptr) {
      Free(handle_);
    }
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

inline BOOL WINAPI DeleteFont(HFONT font) {
  return DeleteObject(font);
}
using UniqueFont = UniqueGdi<HFONT, DeleteFont>;
inline BOOL WINAPI DeleteBrush(HBRUSH brush) {
  return DeleteObject(brush);
}
using UniqueBrush = UniqueGdi<HBRUSH, DeleteBrush>;
using UniqueIcon = UniqueGdi<HICON, DestroyIcon>;
using UniqueMenu = UniqueGdi<HMENU, DestroyMenu>;

// A window's device context (the screen's for no window), released at the end of the scope.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) {
      ReleaseDC(window_, dc_);
    }
  }

  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context for one scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace pellix::win32
