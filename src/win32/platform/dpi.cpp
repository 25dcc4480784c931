#include "win32/platform/dpi.h"

#include "win32/platform/gdi.h"

namespace pellix::win32 {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// One of user32's newer entry points, or nullptr where this system has none.
template <typename Function>
Function User32Entry(const char* name) {
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) {
    return nullptr;
  }
  // Through void* : the cast from FARPROC to another function type is what GetProcAddress means.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

int ScreenDpi() {
  const WindowDc screen(nullptr);
  const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int SystemDpi() {
  static const auto forSystem = User32Entry<GetDpiForSystemFn>("GetDpiForSystem");
  if (forSystem != nullptr) {
    const UINT dpi = forSystem();
    if (dpi > 0) {
      return static_cast<int>(dpi);
    }
  }
  return ScreenDpi();
}

int DpiOf(HWND window) {
  static const auto forWindow = User32Entry<GetDpiForWindowFn>("GetDpiForWindow");
  if (forWindow != nullptr && window != nullptr) {
    const UINT dpi = forWindow(window);
    if (dpi > 0) {
      return static_cast<int>(dpi);
    }
  }
  return SystemDpi();
}

int MetricAt(int index, int dpi) {
  static const auto forDpi = User32Entry<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (forDpi != nullptr) {
    return forDpi(index, static_cast<UINT>(dpi));
  }
  return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

SIZE FrameAround(SIZE client, DWORD style, DWORD exStyle, int dpi) {
  static const auto forDpi = User32Entry<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  RECT frame{0, 0, client.cx, client.cy};
  if (forDpi == nullptr || !forDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    frame = RECT{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  }
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void SetClientSize(HWND window, SIZE client) {
  RECT frame{};
  RECT inside{};
  if (!GetWindowRect(window, &frame) || !GetClientRect(window, &inside)) {
    return;
  }
  const int width = frame.right - frame.left + client.cx - inside.right;
  const int height = frame.bottom - frame.top + client.cy - inside.bottom;
  if (width != frame.right - frame.left || height != frame.bottom - frame.top) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

DpiChange ReadDpiChange(WPARAM wParam, LPARAM lParam) {
  const int dpi = LOWORD(wParam);
  return DpiChange{dpi > 0 ? dpi : kDesignDpi, *reinterpret_cast<const RECT*>(lParam)};
}

void MoveToSuggested(HWND window, const RECT& suggested) {
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveToSuggested(HWND window, const DpiChange& change, int oldDpi) {
  RECT client{};
  GetClientRect(window, &client);
  MoveToSuggested(window, change.suggested);
  SetClientSize(window, SIZE{MulDiv(client.right, change.dpi, oldDpi),
                             MulDiv(client.bottom, change.dpi, oldDpi)});
}

}  // namespace pellix::win32
