#include "core/io/key_value_lines.h"

#include "core/io/errors.h"
#include "core/io/integer.h"
#include "core/text/ascii.h"
#include "core/text/cp932.h"
#include "core/text/utf.h"

namespace pellix::io {

KeyValueLines::KeyValueLines(std::string_view content, std::u16string fileName)
    : lines_(text::SplitLines(content)), fileName_(std::move(fileName)) {}

std::optional<std::string_view> KeyValueLines::Find(std::string_view key) const {
  for (const std::string& line : lines_) {
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos &&
        text::EqualsIgnoringAsciiCase(std::string_view(line).substr(0, eq), key)) {
      return std::string_view(line).substr(eq + 1);
    }
  }
  return std::nullopt;
}

std::string_view KeyValueLines::Value(std::string_view key) const {
  return Find(key).value_or(std::string_view());
}

std::int32_t KeyValueLines::Integer(std::string_view key) const {
  const std::optional<std::string_view> value = Find(key);
  if (!value) {
    throw IntegerConversionError("", Where(key) + u" がありません");
  }
  if (const std::optional<std::int32_t> number = TryParseInt32(*value)) {
    return *number;
  }
  throw IntegerConversionError(*value, Where(key));
}

std::optional<std::int32_t> KeyValueLines::OptionalInteger(std::string_view key) const {
  const std::string_view value = Value(key);
  if (value.empty()) {
    return std::nullopt;
  }
  if (const std::optional<std::int32_t> number = TryParseInt32(value)) {
    return number;
  }
  throw IntegerConversionError(value, Where(key));
}

std::u16string KeyValueLines::Where(std::string_view key) const {
  // Keys are the program's own ASCII words.
  return fileName_ + u": " + text::Utf8ToUtf16(key);
}

}  // namespace pellix::io
