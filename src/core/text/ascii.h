#pragma once
// Comparisons of the program's own keys and names, which are ASCII; a byte of a two-byte
// character never equals an ASCII letter, so they are safe on code page 932 text too.

#include <string_view>

namespace pellix::text {

constexpr char AsciiLower(char ch) {
  return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch;
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

// The same for file names as the file system is given them: Windows ignores the letter case of
// ASCII letters in names.
constexpr char16_t AsciiLower(char16_t ch) {
  return ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch + 32) : ch;
}

constexpr bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace pellix::text
