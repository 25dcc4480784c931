#include "core/io/key_value_lines.h"

#include "core/io/integer.h"
#include "core/text/ascii.h"
#include "core/text/cp932.h"

namespace pellix::io {

KeyValueLines::KeyValueLines(std::string_view content) : lines_(text::SplitLines(content)) {}

std::string_view KeyValueLines::Value(std::string_view key) const {
  for (const std::string& line : lines_) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos &&
        text::EqualsIgnoringAsciiCase(std::string_view(line).substr(0, eq), key)) {
      return std::string_view(line).substr(eq + 1);
    }
  }
  return {};
}

std::int32_t KeyValueLines::Integer(std::string_view key) const {
  return ParseInt32(Value(key));
}

std::optional<std::int32_t> KeyValueLines::OptionalInteger(std::string_view key) const {
  const std::string_view value = Value(key);
  return value.empty() ? std::nullopt : std::optional<std::int32_t>(ParseInt32(value));
}

}  // namespace pellix::io
