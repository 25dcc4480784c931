#include "win32/capture/clipboard.h"

#include <cwchar>

#include "core/text/codec.h"
#include "win32/platform/clipboard_opening.h"

namespace pellix::win32 {
namespace {

class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HANDLE memory)
      : memory_(static_cast<HGLOBAL>(memory)), data_(memory_ ? GlobalLock(memory_) : nullptr) {}
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  ~GlobalLockGuard() {
    if (data_ != nullptr) {
      GlobalUnlock(memory_);
    }
  }
  const void* Data() const { return data_; }
  std::size_t Size() const { return data_ != nullptr ? GlobalSize(memory_) : 0; }

 private:
  HGLOBAL memory_;
  void* data_;
};

std::optional<std::u16string> ReadWide() {
  const GlobalLockGuard lock(GetClipboardData(CF_UNICODETEXT));
  if (lock.Data() == nullptr) {
    return std::nullopt;
  }
  const auto* chars = static_cast<const wchar_t*>(lock.Data());
  const std::size_t length = wcsnlen(chars, lock.Size() / sizeof(wchar_t));
  return std::u16string(reinterpret_cast<const char16_t*>(chars), length);
}

std::optional<std::string> ReadAnsi() {
  const GlobalLockGuard lock(GetClipboardData(CF_TEXT));
  if (lock.Data() == nullptr) {
    return std::nullopt;
  }
  const auto* chars = static_cast<const char*>(lock.Data());
  return std::string(chars, strnlen(chars, lock.Size()));
}

bool MarkedSecret() {
  static const UINT exclude =
      RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
  static const UINT ignore = RegisterClipboardFormatW(L"Clipboard Viewer Ignore");
  static const UINT history = RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
  if (IsClipboardFormatAvailable(exclude) || IsClipboardFormatAvailable(ignore)) {
    return true;
  }
  if (!IsClipboardFormatAvailable(history)) {
    return false;
  }
  const GlobalLockGuard lock(GetClipboardData(history));
  return lock.Size() >= sizeof(DWORD) && *static_cast<const DWORD*>(lock.Data()) == 0;
}

}  // namespace

ClipboardText ReadClipboardText(HWND owner, const text::TextServices& services) {
  ClipboardText result;
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) && !IsClipboardFormatAvailable(CF_TEXT)) {
    return result;
  }
  std::optional<std::u16string> wide;
  std::optional<std::string> ansi;
  {
    const ClipboardOpening opening(owner);
    result.secret = MarkedSecret();
    if (result.secret) {
      return result;
    }
    wide = ReadWide();
    if (!wide || wide->empty()) {
      ansi = ReadAnsi();
    }
  }
  // Converted once the clipboard is closed again: other programs find it busy only while the
  // bytes are copied out.
  if (wide && !wide->empty()) {
    result.ansi = text::Utf16ToCp932(services, *wide);
    result.wide = std::move(*wide);
  } else if (ansi) {
    result.wide = text::Cp932ToUtf16(services, *ansi);
    result.ansi = std::move(*ansi);
  } else if (wide) {
    result.ansi = std::string();
  }
  return result;
}

}  // namespace pellix::win32
