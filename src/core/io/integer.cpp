#include "core/io/integer.h"

#include <limits>

#include "core/io/errors.h"

namespace pellix::io {

std::int32_t ParseInt32(std::string_view text) {
  if (const std::optional<std::int32_t> value = TryParseInt32(text)) {
    return *value;
  }
  throw IntegerConversionError(text);
}

std::optional<std::int32_t> TryParseInt32(std::string_view text) {
  std::string_view digits = text;
  bool negative = false;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty()) {
    return std::nullopt;
  }
  // Accumulate in 64 bits; ten digits of headroom are checked on every step.
  const std::int64_t limit =
      negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
               : std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (const char ch : digits) {
    if (ch < '0' || ch > '9') {
      return std::nullopt;
    }
    value = value * 10 + (ch - '0');
    if (value > limit) {
      return std::nullopt;
    }
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace pellix::io
