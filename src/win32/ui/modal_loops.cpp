#include "win32/ui/modal_loops.h"

#include <cwchar>
#include <iterator>

namespace pellix::win32 {
namespace {

// The windows whose own loop a close must end: message boxes and common dialogs, and the
// program's question box. WM_CLOSE cancels each of them.
bool IsQuestionWindow(HWND window) {
  wchar_t className[32]{};
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  return std::wcscmp(className, L"#32770") == 0 || std::wcscmp(className, L"InputDialog") == 0;
}

}  // namespace

void ModalLoops::CloseWhenDone(HWND window) {
  closing_ = true;
  pendingClose_ = window;
  EndMenu();
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND candidate, LPARAM) -> BOOL {
        if (IsWindowVisible(candidate) && IsQuestionWindow(candidate)) {
          PostMessageW(candidate, WM_CLOSE, 0, 0);
        }
        return TRUE;
      },
      0);
}

void ModalLoops::Leave() {
  if (--depth_ == 0 && pendingClose_ != nullptr) {
    const HWND window = pendingClose_;
    pendingClose_ = nullptr;
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
}

int ShowBox(ModalLoops& loops, HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  const ModalLoops::Scope scope(loops);
  return MessageBoxW(owner, text, caption, type);
}

}  // namespace pellix::win32
