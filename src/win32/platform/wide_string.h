#pragma once
// The core speaks char16_t; the wide Win32 API speaks wchar_t, which is the same 16-bit unit here.

#include <string>
#include <string_view>

namespace pellix::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline std::wstring ToWide(std::u16string_view text) {
  return {text.begin(), text.end()};
}
inline std::u16string FromWide(std::wstring_view text) {
  return {text.begin(), text.end()};
}

inline const wchar_t* AsWide(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}

}  // namespace pellix::win32
