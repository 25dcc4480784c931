#include "win32/tray/tray_icon.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "win32/ui/control_ids.h"

namespace pellix::win32 {

void TrayIcon::Add(HWND window, UINT id, WORD resource) {
  icon_.Reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                            IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                            GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
  data_ = NOTIFYICONDATAW{};
  data_.cbSize = sizeof data_;
  data_.hWnd = window;
  data_.uID = id;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = kTrayCallbackMessage;
  data_.hIcon = icon_.Get();
  SetTip({});
  AddAgain();
}

void TrayIcon::SetTip(std::wstring_view tip) {
  constexpr std::wstring_view kPlainTip = L"ぺりくす T＆K";
  std::fill(std::begin(data_.szTip), std::end(data_.szTip), L'\0');
  // Cut to the field, which the zero fill keeps terminated.
  (tip.empty() ? kPlainTip : tip).copy(data_.szTip, std::size(data_.szTip) - 1);
  if (added_) {
    NOTIFYICONDATAW modified = data_;
    modified.uFlags = NIF_TIP;
    Shell_NotifyIconW(NIM_MODIFY, &modified);
  }
}

void TrayIcon::AddAgain() {
  if (data_.hWnd != nullptr) {
    added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE || added_;
  }
}

void TrayIcon::ShowBalloon(std::wstring_view title, std::wstring_view text, bool warning) {
  if (!added_) {
    return;
  }
  NOTIFYICONDATAW balloon = data_;
  balloon.uFlags = NIF_INFO;
  balloon.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO;
  // Cut to the fields, which the zero-filled record keeps terminated.
  title.copy(balloon.szInfoTitle, std::size(balloon.szInfoTitle) - 1);
  text.copy(balloon.szInfo, std::size(balloon.szInfo) - 1);
  Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

void TrayIcon::Remove() {
  if (data_.hWnd != nullptr) {
    Shell_NotifyIconW(NIM_DELETE, &data_);
    added_ = false;
  }
}

}  // namespace pellix::win32
