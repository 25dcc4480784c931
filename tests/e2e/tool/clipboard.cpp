#include "clipboard.h"

#include <cstring>
#include <cwchar>

#include "base.h"

namespace pxtool {

bool TryOpenClipboard(HWND owner, int attempts, DWORD retry_ms) {
  for (int attempt = 0; attempt < attempts; ++attempt) {
    if (OpenClipboard(owner)) {
      return true;
    }
    Sleep(retry_ms);
  }
  return false;
}

ClipboardOpening::ClipboardOpening(HWND owner) {
  if (!TryOpenClipboard(owner, 100, 20)) {
    FailWin32(L"OpenClipboard");
  }
}

LockedBlock::LockedBlock(UINT format) {
  block_ = IsClipboardFormatAvailable(format) ? GetClipboardData(format) : nullptr;
  data_ = block_ != nullptr ? GlobalLock(block_) : nullptr;
}

std::optional<std::wstring> OpenClipboardUnicodeText() {
  const LockedBlock block(CF_UNICODETEXT);
  const auto* text = static_cast<const wchar_t*>(block.data());
  if (text == nullptr) {
    return std::nullopt;
  }
  return std::wstring(text, wcsnlen(text, block.size() / sizeof(wchar_t)));
}

HGLOBAL GlobalCopy(const void* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size == 0 ? 1 : size);
  if (block == nullptr) {
    FailWin32(L"GlobalAlloc");
  }
  void* target = GlobalLock(block);
  if (size > 0) {
    std::memcpy(target, data, size);
  }
  GlobalUnlock(block);
  return block;
}

OwnerWindow::OwnerWindow() {
  hwnd_ = CreateWindowExW(0, L"STATIC", L"pxtool clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE,
                          nullptr, GetModuleHandleW(nullptr), nullptr);
  if (hwnd_ == nullptr) {
    FailWin32(L"CreateWindowExW");
  }
}

}  // namespace pxtool
