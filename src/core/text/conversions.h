#pragma once
// Case and width conversions of code page 932 text, used by the filters and the list menu.

#include <string>
#include <string_view>

#include "core/text/text_services.h"

namespace pellix::text {

// The platform's case or width mapping applied to the whole text. An empty text stays empty.
std::string MapString(const TextServices& services, Mapping mapping, std::string_view text);

// Narrows full-width letters, digits and ASCII symbols, the ideographic space and the full-width
// yen sign to their one-byte forms; every other character, Japanese script included, is kept
// byte for byte.
std::string FullToHalfWidth(std::string_view text);
// The same, in place (a text never grows by it); whether anything changed.
bool MakeHalfWidth(std::string& text);

// The UTF-16 value of a two-byte character that FullToHalfWidth narrows, with its narrow byte;
// exposed so tests can hold the table against the platform's own conversion.
struct NarrowableChar {
  unsigned short bytes;
  char16_t wide;
  unsigned char narrow;
};
const NarrowableChar* NarrowableCharsBegin();
const NarrowableChar* NarrowableCharsEnd();

}  // namespace pellix::text
