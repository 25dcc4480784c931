#pragma once
// TextServices for builds without Win32: code page 932 through glibc's iconv tables, the case and
// width mappings through small tables that follow what Windows does for the characters code page
// 932 can hold.

#include <array>
#include <cstdint>
#include <memory>

#include "core/text/text_services.h"
#include "posix/posix_collation.h"

namespace pellix::posix {

class PosixTextServices final : public text::TextServices {
 public:
  PosixTextServices();

  std::optional<std::u16string> DecodeCp932(std::string_view text) const override;
  std::optional<std::string> EncodeCp932(std::u16string_view text) const override;
  std::u16string Map(text::Mapping mapping, std::u16string_view text) const override;
  int Compare(std::u16string_view a, std::u16string_view b, bool ignoreCase) const override;
  std::string SortKey(std::u16string_view text) const override;

 private:
  // Index: the byte, or lead << 8 | trail. 0 means unassigned (0x00 itself is handled apart).
  std::unique_ptr<std::array<char16_t, 0x10000>> decode_;
  // Index: the UTF-16 value; 0 means no exact form.
  std::unique_ptr<Cp932Codes> encode_;
  std::unique_ptr<const Collation> collation_;
};

}  // namespace pellix::posix
