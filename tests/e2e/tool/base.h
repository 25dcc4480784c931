// What every pxtool command builds on: failing with a message and an exit code, UTF-8 at the
// edges, numbers as the harness writes them, and handles that close themselves.
#pragma once

// windows.h must come first; the others build on it.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace pxtool {

// A command's failure: the message the harness shows and the exit code it gets (1: failed,
// 2: wrong usage, 3: a wait ran out).
struct ToolError {
  std::wstring message;
  int exit_code = 1;
};

[[noreturn]] void Fail(std::wstring message, int exit_code = 1);
[[noreturn]] void FailWin32(const std::wstring& what);
[[noreturn]] void Usage(const std::wstring& message);

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view bytes);

// Console code pages would mangle the bytes; the standard handles are written raw as UTF-8.
void WriteRaw(DWORD which, const std::string& bytes);

// Decimal or 0x-prefixed hexadecimal.
std::optional<unsigned long long> ParseUnsigned(std::wstring_view text);
long long ParseInteger(std::wstring_view text, const wchar_t* what);

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) {
      CloseHandle(handle_);
    }
  }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace pxtool
