#include "core/text/conversions.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "core/text/case_fold.h"
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

// The narrow byte of each narrowable two-byte code; 0 for every other code.
const std::array<unsigned char, 0x10000>& NarrowBytes() {
  static const std::array<unsigned char, 0x10000> table = [] {
    std::array<unsigned char, 0x10000> built{};
    for (const NarrowableChar& entry : kNarrowable) {
      built[entry.bytes] = entry.narrow;
    }
    return built;
  }();
  return table;
}

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
  // The code page's cased letters are few and fixed; the tests hold this table against the
  // platform's mapping, and it spares each capture two whole-text conversions.
  if (mapping == Mapping::kUpperCase) {
    return ToUpperCase(text);
  }
  if (mapping == Mapping::kLowerCase) {
    return ToLowerCase(text);
  }
  return Utf16ToCp932(services, services.Map(mapping, Cp932ToUtf16(services, text)));
}

std::string FullToHalfWidth(std::string_view text) {
  const auto& narrow = NarrowBytes();
  std::string out(text.size(), '\0');
  const auto* in = reinterpret_cast<const unsigned char*>(text.data());
  auto* written = reinterpret_cast<unsigned char*>(out.data());
  const std::size_t size = text.size();
  std::size_t length = 0;
  for (std::size_t pos = 0; pos < size;) {
    const unsigned char first = in[pos];
    if (IsLeadByte(first) && pos + 1 < size) {
      const unsigned char narrowed = narrow[first << 8 | in[pos + 1]];
      if (narrowed != 0) {
        written[length++] = narrowed;
      } else {
        written[length++] = first;
        written[length++] = in[pos + 1];
      }
      pos += 2;
    } else {
      written[length++] = first;
      ++pos;
    }
  }
  out.resize(length);
  return out;
}

}  // namespace pellix::text
