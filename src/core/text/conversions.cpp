#include "core/text/conversions.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "core/text/codec.h"
#include "core/text/cp932.h"

namespace pellix::text {
namespace {

constexpr NarrowableChar kNarrowable[] = {
#include "core/text/full_width_ascii_table.inc"
};

static_assert(std::is_sorted(std::begin(kNarrowable), std::end(kNarrowable),
                             [](const NarrowableChar& a, const NarrowableChar& b) {
                               return a.bytes < b.bytes;
                             }));

}  // namespace

const NarrowableChar* NarrowableCharsBegin() {
  return std::begin(kNarrowable);
}
const NarrowableChar* NarrowableCharsEnd() {
  return std::end(kNarrowable);
}

std::string MapString(const TextServices& services, Mapping mapping, std::string_view text) {
  if (text.empty()) {
    return {};
  }
  return Utf16ToCp932(services, services.Map(mapping, Cp932ToUtf16(services, text)));
}

std::string FullToHalfWidth(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t size = CharSizeAt(text, pos);
    if (size == 2) {
      const auto code = static_cast<unsigned short>(static_cast<unsigned char>(text[pos]) << 8 |
                                                    static_cast<unsigned char>(text[pos + 1]));
      const auto* found = std::lower_bound(
          std::begin(kNarrowable), std::end(kNarrowable), code,
          [](const NarrowableChar& entry, unsigned short key) { return entry.bytes < key; });
      if (found != std::end(kNarrowable) && found->bytes == code) {
        out += static_cast<char>(found->narrow);
        pos += 2;
        continue;
      }
    }
    out.append(text.substr(pos, size));
    pos += size;
  }
  return out;
}

}  // namespace pellix::text
