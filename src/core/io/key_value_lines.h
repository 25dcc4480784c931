#pragma once
// The key=value files (filters and settings): a key is the text before a line's first '=',
// found without regard to case; the first matching line wins; the value is the rest of the
// line, untrimmed. A key without a line reads as the empty value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellix::io {

class KeyValueLines {
 public:
  // `fileName` (the name alone, not the path) is what a refused value's message names.
  KeyValueLines(std::string_view content, std::u16string fileName);

  bool Empty() const { return lines_.empty(); }
  std::string_view Value(std::string_view key) const;

  // The value as a decimal integer; the empty value throws, like any other that is no number,
  // and a key without a line says so.
  std::int32_t Integer(std::string_view key) const;
  // Nothing for the empty value, else the decimal integer.
  std::optional<std::int32_t> OptionalInteger(std::string_view key) const;

  // "<file name>: <key>", the second line of a message about that key's value.
  std::u16string Where(std::string_view key) const;

 private:
  std::optional<std::string_view> Find(std::string_view key) const;

  std::vector<std::string> lines_;
  std::u16string fileName_;
};

}  // namespace pellix::io
