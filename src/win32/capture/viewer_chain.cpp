#include "win32/capture/viewer_chain.h"

namespace pellix::win32 {
namespace {

constexpr UINT kForwardTimeoutMs = 5000;

LRESULT SendBounded(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                      kForwardTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

}  // namespace

void ViewerChain::ForwardDraw(WPARAM wParam, LPARAM lParam) const {
  if (nextViewer_ != nullptr && nextViewer_ != self_) {
    SendBounded(nextViewer_, WM_DRAWCLIPBOARD, wParam, lParam);
  }
}

LRESULT ViewerChain::OnChangeChain(WPARAM removed, LPARAM next) {
  if (reinterpret_cast<HWND>(removed) == nextViewer_) {
    nextViewer_ = reinterpret_cast<HWND>(next);
    return 0;
  }
  if (nextViewer_ != nullptr && nextViewer_ != self_) {
    return SendBounded(nextViewer_, WM_CHANGECBCHAIN, removed, next);
  }
  return 0;
}

}  // namespace pellix::win32
