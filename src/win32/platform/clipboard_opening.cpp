#include "win32/platform/clipboard_opening.h"

#include "core/io/errors.h"

namespace pellix::win32 {
namespace {

constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryMs = 10;

}  // namespace

ClipboardOpening::ClipboardOpening(HWND owner) {
  for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
    if (OpenClipboard(owner)) {
      return;
    }
    Sleep(kOpenRetryMs);
  }
  throw io::ClipboardError();
}

}  // namespace pellix::win32
