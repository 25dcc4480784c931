#include "win32/app/about_box.h"

#include <commctrl.h>

#include "win32/app/error_reporter.h"
#include "win32/app/fonts.h"
#include "win32/app/resource_ids.h"

namespace pellix::win32 {
namespace {

constexpr wchar_t kClassName[] = L"AboutBox";
constexpr SIZE kClientSize{298, 214};
constexpr int kOkId = IDOK;

struct Label {
  const wchar_t* text;
  RECT bounds;
};

}  // namespace

AboutBox::AboutBox(ErrorSink& errors, HWND owner) : Window(errors) {
  const int dpi = SystemDpi();
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT frame{0, 0, Scale(kClientSize.cx, dpi), Scale(kClientSize.cy, dpi)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  CreateOf(kClassName, L"バージョン情報", style, exStyle,
           RECT{0, 0, frame.right - frame.left, frame.bottom - frame.top}, owner);

  const HWND self = Handle();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  font_ = CreateUiFont(kProportionalGothic, -12, dpi);
  const auto child = [&](const wchar_t* className, const wchar_t* text, DWORD childStyle,
                         RECT bounds, int id = 0) {
    const HWND control = CreateWindowExW(
        0, className, text, WS_CHILD | WS_VISIBLE | childStyle, Scale(bounds.left, dpi),
        Scale(bounds.top, dpi), Scale(bounds.right - bounds.left, dpi),
        Scale(bounds.bottom - bounds.top, dpi), self,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    return control;
  };

  // The raised panel, then what stands on it.
  const HWND panel = child(WC_STATICW, L"", SS_NOTIFY, RECT{8, 8, 290, 169});
  SetWindowLongPtrW(panel, GWL_EXSTYLE, WS_EX_DLGMODALFRAME);
  SetWindowPos(panel, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  icon_.Reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconApp), IMAGE_ICON,
                                            Scale(64, dpi), Scale(64, dpi), 0)));
  const HWND picture = child(WC_STATICW, L"", SS_ICON | SS_REALSIZECONTROL, RECT{16, 16, 80, 80});
  SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon_.Get()), 0);
  const Label labels[] = {
      {kAppTitle, RECT{96, 24, 280, 40}},
      {L"ver. 0.93", RECT{96, 48, 280, 64}},
      {L"2026年12月", RECT{96, 72, 280, 88}},
      {L"作者: pellix 開発チーム", RECT{16, 112, 280, 128}},
      {L"ウェブサイト: なし", RECT{16, 136, 280, 152}},
  };
  for (const Label& label : labels) {
    child(WC_STATICW, label.text, SS_LEFT | SS_NOPREFIX, label.bounds);
  }
  child(WC_BUTTONW, L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, RECT{111, 178, 186, 203}, kOkId);
}

void AboutBox::Show() {
  if (!placed_) {
    RECT window{};
    GetWindowRect(Handle(), &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    placed_ = true;
  }
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(Handle());
}

LRESULT AboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kOkId || LOWORD(wParam) == IDCANCEL) {
        ShowWindow(Handle(), SW_HIDE);
        return 0;
      }
      break;
    case WM_CLOSE:
      ShowWindow(Handle(), SW_HIDE);
      return 0;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace pellix::win32
