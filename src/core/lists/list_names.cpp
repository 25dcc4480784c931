#include "core/lists/list_names.h"

#include <array>

#include "core/text/case_fold.h"
#include "core/text/codec.h"

namespace pellix::lists {
namespace {

constexpr std::u16string_view kForbidden = u"\\/:*?\"<>|";

// C0 and C1 controls and DEL.
bool IsControl(char16_t ch) {
  return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F);
}

bool IsReservedDeviceName(std::u16string_view name) {
  constexpr std::array<std::u16string_view, 4> kPlain = {u"CON", u"PRN", u"AUX", u"NUL"};
  std::u16string upper;
  for (const char16_t ch : name.substr(0, name.find(u'.'))) {
    upper += ch >= u'a' && ch <= u'z' ? static_cast<char16_t>(ch - 32) : ch;
  }
  for (const std::u16string_view device : kPlain) {
    if (upper == device) {
      return true;
    }
  }
  return upper.size() == 4 && (upper.starts_with(u"COM") || upper.starts_with(u"LPT")) &&
         upper[3] >= u'1' && upper[3] <= u'9';
}

}  // namespace

bool IsPlainFileName(const text::TextServices& services, std::string_view name) {
  // The path is made of this decoding (the second byte of a two-byte character may be 0x5C or
  // 0x7C and is no separator there), so it is what has to be a plain file name.
  const std::u16string wide = text::Cp932ToUtf16(services, name);
  if (wide.empty() || wide == u"." || wide == u".." || wide.back() == u'.' || wide.back() == u' ') {
    return false;
  }
  for (const char16_t ch : wide) {
    if (ch == text::kReplacementChar || IsControl(ch) ||
        kForbidden.find(ch) != std::u16string_view::npos) {
      return false;
    }
  }
  return !IsReservedDeviceName(wide);
}

std::u16string ListNameKey(const text::TextServices& services, std::string_view name) {
  return text::Cp932ToUtf16(services, text::ToUpperCase(name));
}

}  // namespace pellix::lists
