#include "win32/platform/win32_text_services.h"

#include <windows.h>

#include <climits>

#include "win32/platform/wide_string.h"

namespace pellix::win32 {
namespace {

constexpr UINT kCodePage932 = 932;

int ToInt(std::size_t size) {
  return size > INT_MAX ? INT_MAX : static_cast<int>(size);
}

DWORD MappingFlag(text::Mapping mapping) {
  switch (mapping) {
    case text::Mapping::kLowerCase:
      return LCMAP_LOWERCASE;
    case text::Mapping::kUpperCase:
      return LCMAP_UPPERCASE;
    case text::Mapping::kFullWidth:
      return LCMAP_FULLWIDTH;
    case text::Mapping::kHalfWidth:
      return LCMAP_HALFWIDTH;
  }
  return LCMAP_LOWERCASE;
}

}  // namespace

std::optional<std::u16string> Win32TextServices::DecodeCp932(std::string_view text) const {
  if (text.empty()) {
    return std::u16string();
  }
  const int length = ToInt(text.size());
  const int needed =
      MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (needed <= 0) {
    return std::nullopt;
  }
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), needed);
  return FromWide(wide);
}

std::optional<std::string> Win32TextServices::EncodeCp932(std::u16string_view text) const {
  if (text.empty()) {
    return std::string();
  }
  const std::wstring wide = ToWide(text);
  const int length = ToInt(wide.size());
  BOOL usedDefault = FALSE;
  const int needed = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, wide.data(), length,
                                         nullptr, 0, nullptr, &usedDefault);
  if (needed <= 0 || usedDefault) {
    return std::nullopt;
  }
  std::string out(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, wide.data(), length, out.data(), needed,
                      nullptr, &usedDefault);
  if (usedDefault) {
    return std::nullopt;
  }
  return out;
}

std::u16string Win32TextServices::Map(text::Mapping mapping, std::u16string_view text) const {
  if (text.empty()) {
    return {};
  }
  const std::wstring wide = ToWide(text);
  const DWORD flag = MappingFlag(mapping);
  const LCID locale = GetUserDefaultLCID();
  const int needed = LCMapStringW(locale, flag, wide.data(), ToInt(wide.size()), nullptr, 0);
  if (needed <= 0) {
    return std::u16string(text);
  }
  std::wstring out(static_cast<std::size_t>(needed), L'\0');
  const int written =
      LCMapStringW(locale, flag, wide.data(), ToInt(wide.size()), out.data(), needed);
  out.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return FromWide(out);
}

int Win32TextServices::Compare(std::u16string_view a, std::u16string_view b,
                               bool ignoreCase) const {
  const std::wstring wa = ToWide(a);
  const std::wstring wb = ToWide(b);
  const int result = CompareStringW(LOCALE_USER_DEFAULT, ignoreCase ? NORM_IGNORECASE : 0,
                                    wa.data(), ToInt(wa.size()), wb.data(), ToInt(wb.size()));
  return result == 0 ? 0 : result - CSTR_EQUAL;
}

std::string Win32TextServices::SortKey(std::u16string_view text) const {
  // The flags of Compare's case-sensitive call (none), so both give one order.
  const std::wstring wide = ToWide(text);
  const int length = ToInt(wide.size());
  const int needed = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY, wide.data(), length,
                                   nullptr, 0, nullptr, nullptr, 0);
  if (needed <= 0) {
    return {};
  }
  // With LCMAP_SORTKEY the destination is a byte buffer and its size is counted in bytes.
  std::string key(static_cast<std::size_t>(needed), '\0');
  const int written =
      LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_SORTKEY, wide.data(), length,
                    reinterpret_cast<LPWSTR>(key.data()), needed, nullptr, nullptr, 0);
  key.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return key;
}

}  // namespace pellix::win32
