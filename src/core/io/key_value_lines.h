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
  explicit KeyValueLines(std::string_view content);

  bool Empty() const { return lines_.empty(); }
  std::string_view Value(std::string_view key) const;

  // The value as a decimal integer; the empty value throws, like any other that is no number.
  std::int32_t Integer(std::string_view key) const;
  // Nothing for the empty value, else the decimal integer.
  std::optional<std::int32_t> OptionalInteger(std::string_view key) const;

 private:
  std::vector<std::string> lines_;
};

}  // namespace pellix::io
