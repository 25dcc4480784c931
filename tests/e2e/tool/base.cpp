#include "base.h"

#include <utility>

namespace pxtool {

void Fail(std::wstring message, int exit_code) {
  throw ToolError{std::move(message), exit_code};
}

void FailWin32(const std::wstring& what) {
  const DWORD error = GetLastError();
  Fail(what + L" failed (error " + std::to_wstring(error) + L")");
}

void Usage(const std::wstring& message) {
  Fail(message, 2);
}

std::string ToUtf8(std::wstring_view text) {
  if (text.empty()) {
    return {};
  }
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring FromUtf8(std::string_view bytes) {
  if (bytes.empty()) {
    return {};
  }
  const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                       static_cast<int>(bytes.size()), nullptr, 0);
  if (size == 0) {
    Fail(L"the text is not valid UTF-8");
  }
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                      out.data(), size);
  return out;
}

void WriteRaw(DWORD which, const std::string& bytes) {
  HANDLE handle = GetStdHandle(which);
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                   nullptr) ||
        written == 0) {
      return;
    }
    done += written;
  }
}

std::optional<unsigned long long> ParseUnsigned(std::wstring_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) {
    return std::nullopt;
  }
  unsigned long long value = 0;
  for (wchar_t c : text) {
    int digit;
    if (c >= L'0' && c <= L'9') {
      digit = c - L'0';
    } else if (base == 16 && c >= L'a' && c <= L'f') {
      digit = c - L'a' + 10;
    } else if (base == 16 && c >= L'A' && c <= L'F') {
      digit = c - L'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
  }
  return value;
}

long long ParseInteger(std::wstring_view text, const wchar_t* what) {
  const bool negative = !text.empty() && text[0] == L'-';
  if (negative) {
    text.remove_prefix(1);
  }
  const auto value = ParseUnsigned(text);
  if (!value) {
    Usage(std::wstring(L"not a number for ") + what + L": " + std::wstring(text));
  }
  return negative ? -static_cast<long long>(*value) : static_cast<long long>(*value);
}

}  // namespace pxtool
