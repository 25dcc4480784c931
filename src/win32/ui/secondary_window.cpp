#include "win32/ui/secondary_window.h"

#include "win32/ui/fonts.h"

namespace pellix::win32 {

SecondaryWindow::SecondaryWindow(ErrorSink& errors, const wchar_t* className,
                                 const std::wstring& caption, DWORD style, DWORD exStyle,
                                 SIZE clientSize, HWND owner)
    : Window(errors) {
  const int dpi = SystemDpi();
  const SIZE frame =
      FrameAround(SIZE{Scale(clientSize.cx, dpi), Scale(clientSize.cy, dpi)}, style, exStyle, dpi);
  CreateOf(className, caption, style, exStyle, RECT{0, 0, frame.cx, frame.cy}, owner);
  SetClientSize(Handle(), SIZE{Scale(clientSize.cx, dpi), Scale(clientSize.cy, dpi)});
}

LRESULT SecondaryWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    ShowWindow(Handle(), SW_HIDE);  // these windows live for the whole run
    return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace pellix::win32
