#pragma once
// The base of every window of the program: binds the C++ object to its HWND at WM_NCCREATE,
// hands each message to HandleMessage, and keeps exceptions from crossing into the system.

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <utility>

#include "win32/platform/dpi.h"

namespace pellix::win32 {

// Where an exception caught at a window's edge goes.
class ErrorSink {
 public:
  virtual ~ErrorSink() = default;
  virtual void Report(const std::exception_ptr& error) noexcept = 0;
};

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return hwnd_; }
  bool IsVisible() const { return hwnd_ != nullptr && IsWindowVisible(hwnd_); }

  // Runs when a window made only when first needed has been made, controls and all: the
  // windows that work with it learn its handle then.
  void OnMade(std::function<void()> made) { made_ = std::move(made); }

 protected:
  explicit Window(ErrorSink& errors) : errors_(&errors) {}

  // Registers the class on first use and creates the window; throws when that fails.
  void CreateOf(const wchar_t* className, const std::wstring& title, DWORD style, DWORD exStyle,
                RECT bounds, HWND owner, HICON icon = nullptr, HBRUSH background = nullptr);

  // Messages not handled return DefaultHandling().
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

  ErrorSink& Errors() const { return *errors_; }
  // Tells OnMade's listener that the window now exists.
  void NoteMade() const {
    if (made_) {
      made_();
    }
  }

  // The window now stands on a monitor of another dpi: the base has moved it (MoveForDpi), and
  // the window takes that dpi's fonts and layout here.
  virtual void OnDpiChanged(int dpi) { static_cast<void>(dpi); }
  // Where the system suggests, unless the window knows better.
  virtual void MoveForDpi(const DpiChange& change) { MoveToSuggested(hwnd_, change.suggested); }

  // Destroys the window now, unbound from this object, while the derived object and its members
  // still live.
  void Destroy();

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  ErrorSink* errors_;
  std::function<void()> made_;
};

}  // namespace pellix::win32
