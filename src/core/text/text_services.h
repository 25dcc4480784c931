#pragma once
// The few things about text that need the platform's locale knowledge. The Win32 build answers
// them with the system's own conversion and mapping calls; other builds with iconv and tables.
// Core code reaches them only through this interface, so both are held to the same tests.

#include <optional>
#include <string>
#include <string_view>

namespace pellix::text {

enum class Mapping { kLowerCase, kUpperCase, kFullWidth, kHalfWidth };

class TextServices {
 public:
  virtual ~TextServices() = default;

  // Converts code page 932 text that is known to be well formed (every lead byte has a valid
  // trail byte). nullopt when some character is unassigned in the code page.
  virtual std::optional<std::u16string> DecodeCp932(std::string_view text) const = 0;

  // Converts UTF-16 to code page 932 without any best-fit substitution. nullopt when some
  // character has no exact form in the code page.
  virtual std::optional<std::string> EncodeCp932(std::u16string_view text) const = 0;

  // The locale's case or width mapping of a UTF-16 text.
  virtual std::u16string Map(Mapping mapping, std::u16string_view text) const = 0;

  // The user locale's string order: negative, zero or positive.
  virtual int Compare(std::u16string_view a, std::u16string_view b, bool ignoreCase) const = 0;

  // Bytes whose plain byte order (as std::string compares them) is the user locale's
  // case-sensitive order of the texts. A big list is sorted by keys computed once per item:
  // far fewer platform calls than comparing pairs, and always a strict order.
  virtual std::string SortKey(std::u16string_view text) const = 0;
};

}  // namespace pellix::text
