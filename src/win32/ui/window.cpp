#include "win32/ui/window.h"

#include <stdexcept>
#include <utility>

#include "win32/ui/resource_ids.h"

namespace pellix::win32 {
namespace {

// The program's icon at one of the system's icon sizes. Shared: the system keeps it for the
// process's lifetime, so nobody destroys it.
HICON AppIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconApp), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric),
                                       GetSystemMetrics(heightMetric), LR_SHARED));
}

}  // namespace

Window::~Window() {
  Destroy();
}

void Window::Destroy() {
  if (hwnd_ != nullptr) {
    // Unbound first: a window destroyed from a destructor must not run handlers of an object
    // that is going away (nor post the quit that its WM_DESTROY would).
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(std::exchange(hwnd_, nullptr));
  }
}

void Window::CreateOf(const wchar_t* className, const std::wstring& title, DWORD style,
                      DWORD exStyle, RECT bounds, HWND owner, HICON icon, HBRUSH background) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  if (!GetClassInfoExW(instance, className, &windowClass)) {
    windowClass = WNDCLASSEXW{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Window::Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // Every window of ours carries our icon in its caption, dialogs too, never the system's.
    windowClass.hIcon = icon != nullptr ? icon : AppIcon(instance, SM_CXICON, SM_CYICON);
    windowClass.hIconSm = icon != nullptr ? icon : AppIcon(instance, SM_CXSMICON, SM_CYSMICON);
    windowClass.hbrBackground =
        background != nullptr ? background : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    if (RegisterClassExW(&windowClass) == 0) {
      throw std::runtime_error("cannot register a window class");
    }
  }
  CreateWindowExW(exStyle, className, title.c_str(), style, bounds.left, bounds.top,
                  bounds.right - bounds.left, bounds.bottom - bounds.top, owner, nullptr, instance,
                  this);
  if (hwnd_ == nullptr) {
    throw std::runtime_error("cannot create a window");
  }
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  try {
    if (message == kMsgDpiChanged) {
      const DpiChange change = ReadDpiChange(wParam, lParam);
      self->MoveForDpi(change);
      self->OnDpiChanged(change.dpi);
      return 0;
    }
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      self->hwnd_ = nullptr;
    }
    return result;
  } catch (...) {
    self->errors_->Report(std::current_exception());
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace pellix::win32
