#pragma once
// How the bytes of a text file are to be read. Files the program writes itself are code page 932
// (or UTF-16 with its mark); files a user brings may be anything a text editor saves, and the
// editors of today save UTF-8, often without a mark.

#include <cstddef>
#include <string>
#include <string_view>

#include "core/text/text_services.h"

namespace pellix::text {

enum class FileEncoding { kCp932, kUtf8, kUtf16Le, kUtf16Be };

struct DetectedEncoding {
  FileEncoding encoding = FileEncoding::kCp932;
  std::size_t markSize = 0;  // bytes of the byte-order mark to skip

  friend bool operator==(const DetectedEncoding&, const DetectedEncoding&) = default;
};

// Only a byte-order mark counts (EF BB BF, FF FE, FE FF); anything else is code page 932.
DetectedEncoding EncodingByMark(std::string_view bytes);

// A mark as above; without one, bytes that are valid UTF-8 up to the first zero byte and hold at
// least one non-ASCII byte are UTF-8. Shift-JIS text almost never passes: its hiragana, katakana
// and most kanji start with bytes that UTF-8 only allows in the middle of a character, so only
// a few characters of rare kanji or half-width katakana could ever line up by chance.
DetectedEncoding DetectEncoding(std::string_view bytes);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no cut-off character.
bool IsValidUtf8(std::string_view bytes);

// The text as UTF-16, the mark skipped, cut at the first zero character. Code page 932 goes
// through the fixed conversion policy of Cp932ToUtf16.
std::u16string DecodeFileText(const TextServices& services, std::string_view bytes,
                              DetectedEncoding detected);

// UTF-16 code units from bytes in either order; an odd last byte is dropped.
std::u16string Utf16FromBytes(std::string_view bytes, bool bigEndian);

}  // namespace pellix::text
