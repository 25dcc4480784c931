#include "win32/shell/about_box.h"

#include <commctrl.h>

#include "version.h"
#include "win32/ui/error_reporter.h"
#include "win32/ui/fonts.h"
#include "win32/ui/resource_ids.h"

namespace pellix::win32 {
namespace {

constexpr wchar_t kClassName[] = L"AboutBox";
constexpr SIZE kClientSize{298, 214};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kOkId = IDOK;

struct Label {
  const wchar_t* text;
  RECT bounds;
};

}  // namespace

void AboutBox::Make() {
  const int dpi = SystemDpi();
  const SIZE frame = FrameAround(SIZE{Scale(kClientSize.cx, dpi), Scale(kClientSize.cy, dpi)},
                                 kStyle, kExStyle, dpi);
  CreateOf(kClassName, L"バージョン情報", kStyle, kExStyle, RECT{0, 0, frame.cx, frame.cy}, owner_);

  const HWND self = Handle();
  const auto child = [&](const wchar_t* className, const wchar_t* text, DWORD childStyle,
                         RECT bounds, int id = 0) {
    const HWND control = CreateWindowExW(
        0, className, text, WS_CHILD | WS_VISIBLE | childStyle, 0, 0, 0, 0, self,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    layout_.Add(control, bounds);
    return control;
  };

  // The raised panel, then what stands on it.
  const HWND panel = child(WC_STATICW, L"", SS_NOTIFY, RECT{8, 8, 290, 169});
  SetWindowLongPtrW(panel, GWL_EXSTYLE, WS_EX_DLGMODALFRAME);
  SetWindowPos(panel, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  picture_ = child(WC_STATICW, L"", SS_ICON | SS_REALSIZECONTROL, RECT{16, 16, 80, 80});
  const Label labels[] = {
      {kAppTitle, RECT{96, 24, 280, 40}},
      {L"ver. " PELLIX_VERSION_WIDE, RECT{96, 48, 280, 64}},
      {L"2026年12月", RECT{96, 72, 280, 88}},
      {L"作者: pellix 開発チーム", RECT{16, 112, 280, 128}},
      {L"ウェブサイト: なし", RECT{16, 136, 280, 152}},
  };
  for (const Label& label : labels) {
    child(WC_STATICW, label.text, SS_LEFT | SS_NOPREFIX, label.bounds);
  }
  child(WC_BUTTONW, L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, RECT{111, 178, 186, 203}, kOkId);
  SetDpi(DpiOf(self));
}

void AboutBox::SetDpi(int dpi) {
  // The controls take the new font and picture before the old ones are freed.
  UniqueFont font = CreateUiFont(kProportionalGothic, -12, dpi);
  SetClientSize(Handle(), SIZE{Scale(kClientSize.cx, dpi), Scale(kClientSize.cy, dpi)});
  layout_.Apply(Handle(), dpi, font.Get());
  font_ = std::move(font);
  UniqueIcon icon(
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconApp),
                                    IMAGE_ICON, Scale(64, dpi), Scale(64, dpi), 0)));
  SendMessageW(picture_, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
  icon_ = std::move(icon);
}

void AboutBox::Show() {
  if (Handle() == nullptr) {
    Make();
  }
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
