#pragma once
// TextServices on the system's own calls, code page 932 named explicitly whatever the system's
// ANSI code page is.

#include "core/text/text_services.h"

namespace pellix::win32 {

class Win32TextServices final : public text::TextServices {
 public:
  std::optional<std::u16string> DecodeCp932(std::string_view text) const override;
  std::optional<std::string> EncodeCp932(std::u16string_view text) const override;
  std::u16string Map(text::Mapping mapping, std::u16string_view text) const override;
  int Compare(std::u16string_view a, std::u16string_view b, bool ignoreCase) const override;
  std::string SortKey(std::u16string_view text) const override;
};

}  // namespace pellix::win32
