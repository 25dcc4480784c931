#include "core/text/cp932.h"

namespace pellix::text {

std::size_t CharLength(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += CharSizeAt(text, pos)) {
    ++count;
  }
  return count;
}

std::size_t PrefixBytesForChars(std::string_view text, std::size_t maxChars) {
  std::size_t pos = 0;
  for (std::size_t count = 0; count < maxChars && pos < text.size(); ++count) {
    pos += CharSizeAt(text, pos);
  }
  return pos;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  ForEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

std::string FileBaseName(std::string_view path) {
  // Walk by characters: the second byte of a two-byte character may be 0x5C, which is no path
  // separator there.
  std::size_t nameStart = 0;
  for (std::size_t pos = 0; pos < path.size(); pos += CharSizeAt(path, pos)) {
    if (path[pos] == '\\' || path[pos] == ':') {
      nameStart = pos + 1;
    }
  }
  const std::string_view name = path.substr(nameStart);
  std::size_t dot = std::string_view::npos;
  for (std::size_t pos = 0; pos < name.size(); pos += CharSizeAt(name, pos)) {
    if (name[pos] == '.') {
      dot = pos;
    }
  }
  return std::string(name.substr(0, dot));
}

}  // namespace pellix::text
