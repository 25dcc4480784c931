#pragma once
// A plain top-level window that exists for the whole run and is only shown and hidden. The
// program's owner window is one; so are the windows whose contents come with later features.

#include "win32/ui/window.h"

namespace pellix::win32 {

class SecondaryWindow final : public Window {
 public:
  SecondaryWindow(ErrorSink& errors, const wchar_t* className, const std::wstring& caption,
                  DWORD style, DWORD exStyle, SIZE clientSize, HWND owner);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace pellix::win32
