#include "core/lists/list_names.h"

#include <array>

#include "core/text/case_fold.h"
#include "core/text/codec.h"
#include "core/text/cp932.h"

namespace pellix::lists {
namespace {

constexpr std::string_view kForbidden = "\\/:*?\"<>|";

bool IsReservedDeviceName(std::string_view name) {
  constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
  std::string upper;
  for (const char ch : name.substr(0, name.find('.'))) {
    upper += ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 32) : ch;
  }
  for (const std::string_view device : kPlain) {
    if (upper == device) {
      return true;
    }
  }
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ') {
    return false;
  }
  // By characters: the second byte of a two-byte character may be 0x5C or 0x7C and is no
  // separator there.
  for (std::size_t pos = 0; pos < name.size(); pos += text::CharSizeAt(name, pos)) {
    const auto byte = static_cast<unsigned char>(name[pos]);
    if (text::CharSizeAt(name, pos) == 1 &&
        (byte < 0x20 || byte == 0x7F || kForbidden.find(name[pos]) != std::string_view::npos)) {
      return false;
    }
  }
  return !IsReservedDeviceName(name);
}

std::u16string ListNameKey(const text::TextServices& services, std::string_view name) {
  return text::Cp932ToUtf16(services, text::ToUpperCase(name));
}

}  // namespace pellix::lists
