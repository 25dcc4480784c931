#include "core/text/conversions.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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

// The narrow byte of each narrowable two-byte code, 0 for every other code, and which lead bytes
// have any: a kanji's lead byte has none, so most characters never touch the big table.
struct NarrowTable {
  std::array<bool, 256> leadHasNarrowable{};
  std::array<unsigned char, 0x10000> narrow{};
};

const NarrowTable& Narrowing() {
  static const NarrowTable table = [] {
    NarrowTable built;
    for (const NarrowableChar& entry : kNarrowable) {
      built.leadHasNarrowable[entry.bytes >> 8] = true;
      built.narrow[entry.bytes] = entry.narrow;
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

bool MakeHalfWidth(std::string& text) {
  const NarrowTable& table = Narrowing();
  // Every narrowed character loses a byte, so the write position never passes the read one;
  // what lies between two narrowed characters moves down in one piece.
  auto* bytes = reinterpret_cast<unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t length = 0;  // bytes of the result written
  std::size_t kept = 0;    // bytes from here up to `pos` are kept as they are, not yet moved
  const auto keep = [&](std::size_t upTo) {
    if (length != kept) {
      std::memmove(bytes + length, bytes + kept, upTo - kept);
    }
    length += upTo - kept;
  };
  for (std::size_t pos = 0; pos < size;) {
    // A run of ASCII, eight bytes at a time: nothing in it narrows.
    if (size - pos >= 8) {
      std::uint64_t word;
      std::memcpy(&word, bytes + pos, 8);
      if ((word & 0x8080808080808080) == 0) {
        pos += 8;
        continue;
      }
    }
    const unsigned char first = bytes[pos];
    if (IsLeadByte(first) && pos + 1 < size) {
      if (table.leadHasNarrowable[first]) {
        const unsigned char narrowed = table.narrow[first << 8 | bytes[pos + 1]];
        if (narrowed != 0) {
          keep(pos);
          bytes[length++] = narrowed;
          kept = pos + 2;
        }
      }
      pos += 2;
    } else {
      ++pos;
    }
  }
  if (kept == 0) {
    return false;
  }
  keep(size);
  text.resize(length);
  return true;
}

std::string FullToHalfWidth(std::string_view text) {
  std::string out(text);
  MakeHalfWidth(out);
  return out;
}

}  // namespace pellix::text
