// Any bytes may sit in a list file: users edit them by hand and other tools write them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/lists/list_file.h"
#include "core/text/cp932.h"
#include "fuzz_check.h"

namespace {

using pellix::lists::Items;
using pellix::lists::kItemMarker;

// An item is lines joined by CR LF: no other break, no NUL, and no line after the first that
// starts with the marker, since such a line would have opened an item of its own.
void CheckItemShape(const std::string& item) {
  PELLIX_FUZZ_CHECK(item.find('\0') == std::string::npos);
  for (std::size_t pos = 0; pos < item.size(); ++pos) {
    if (item[pos] == '\n') {
      PELLIX_FUZZ_CHECK(pos > 0 && item[pos - 1] == '\r');
    } else if (item[pos] == '\r') {
      PELLIX_FUZZ_CHECK(pos + 1 < item.size() && item[pos + 1] == '\n');
      PELLIX_FUZZ_CHECK(!std::string_view(item).substr(pos + 2).starts_with(kItemMarker));
    }
  }
}

// Reading drops the markers that open items and turns every break into CR LF, nothing else: a
// file without markers loses no text.
void CheckNothingLost(std::string_view content, const Items& items) {
  std::string expected;
  for (const std::string& line : pellix::text::SplitLines(content)) {
    std::string_view text = line;
    if (text.starts_with(kItemMarker)) {
      text.remove_prefix(kItemMarker.size());
    }
    expected.append(text);
  }
  std::string kept;
  for (const std::string& item : items) {
    for (const char c : item) {
      if (c != '\r' && c != '\n') {
        kept += c;
      }
    }
  }
  PELLIX_FUZZ_CHECK(kept == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const Items items = pellix::lists::ParseListFile(content);
  for (const std::string& item : items) {
    CheckItemShape(item);
  }
  CheckNothingLost(content, items);

  // What was read is what the program writes back on exit, and it must read back the same, with
  // one exception the format cannot avoid: a bare marker as the last line adds nothing, so an
  // empty last item (read from a file that ends with two bare markers) is not read back. Only
  // that one item goes; whatever came from a parse has no other shape that writing could change
  // (a line after an item's first that starts with the marker, say, was checked absent above).
  Items expected = items;
  if (!expected.empty() && expected.back().empty()) {
    expected.pop_back();
  }
  const std::string written = pellix::lists::FormatListFile(items);
  PELLIX_FUZZ_CHECK(pellix::lists::ParseListFile(written) == expected);
  return 0;
}
