#pragma once
// The one reader of decimal integers in the program's files.

#include <cstdint>
#include <optional>
#include <string_view>

namespace pellix::io {

// Strict decimal: an optional '+' or '-' followed by one or more ASCII digits, nothing else (no
// blanks, no hexadecimal), with a value that fits in 32 bits. Anything else, the empty text
// included, throws IntegerConversionError naming the text.
std::int32_t ParseInt32(std::string_view text);

// The same reading; nullopt for any text ParseInt32 refuses.
std::optional<std::int32_t> TryParseInt32(std::string_view text);

}  // namespace pellix::io
