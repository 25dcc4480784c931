#include "core/text/file_encoding.h"

#include <algorithm>

#include "core/text/codec.h"
#include "core/text/utf.h"

namespace pellix::text {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

std::string_view UpToZero(std::string_view bytes) {
  return bytes.substr(0, bytes.find('\0'));
}

}  // namespace

DetectedEncoding EncodingByMark(std::string_view bytes) {
  if (bytes.starts_with(kUtf16LeMark)) {
    return {FileEncoding::kUtf16Le, kUtf16LeMark.size()};
  }
  if (bytes.starts_with(kUtf16BeMark)) {
    return {FileEncoding::kUtf16Be, kUtf16BeMark.size()};
  }
  if (bytes.starts_with(kUtf8Mark)) {
    return {FileEncoding::kUtf8, kUtf8Mark.size()};
  }
  return {};
}

DetectedEncoding DetectEncoding(std::string_view bytes) {
  const DetectedEncoding byMark = EncodingByMark(bytes);
  if (byMark.markSize != 0) {
    return byMark;
  }
  const std::string_view text = UpToZero(bytes);
  bool nonAscii = false;
  for (const char ch : text) {
    if (static_cast<unsigned char>(ch) >= 0x80) {
      nonAscii = true;
      break;
    }
  }
  return nonAscii && IsValidUtf8(text) ? DetectedEncoding{FileEncoding::kUtf8, 0}
                                       : DetectedEncoding{};
}

bool IsValidUtf8(std::string_view bytes) {
  const auto* pos = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = pos + bytes.size();
  while (pos != end) {
    const unsigned char lead = *pos;
    if (lead < 0x80) {
      ++pos;
      continue;
    }
    std::size_t extra = 0;
    unsigned char low = 0x80;  // the allowed range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      low = lead == 0xE0 ? 0xA0 : 0x80;   // overlong
      high = lead == 0xED ? 0x9F : 0xBF;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      low = lead == 0xF0 ? 0x90 : 0x80;   // overlong
      high = lead == 0xF4 ? 0x8F : 0xBF;  // above U+10FFFF
    } else {
      return false;
    }
    if (static_cast<std::size_t>(end - pos) <= extra || pos[1] < low || pos[1] > high) {
      return false;
    }
    for (std::size_t k = 2; k <= extra; ++k) {
      if (!IsContinuation(pos[k])) {
        return false;
      }
    }
    pos += extra + 1;
  }
  return true;
}

std::u16string DecodeFileText(const TextServices& services, std::string_view bytes,
                              DetectedEncoding detected) {
  const std::string_view body = bytes.substr(std::min(detected.markSize, bytes.size()));
  std::u16string text;
  switch (detected.encoding) {
    case FileEncoding::kUtf16Le:
    case FileEncoding::kUtf16Be:
      text = Utf16FromBytes(body, detected.encoding == FileEncoding::kUtf16Be);
      break;
    case FileEncoding::kUtf8:
      text = Utf8ToUtf16(UpToZero(body));
      break;
    case FileEncoding::kCp932:
      text = Cp932ToUtf16(services, UpToZero(body));
      break;
  }
  const std::size_t zero = text.find(u'\0');
  if (zero != std::u16string::npos) {
    text.resize(zero);
  }
  return text;
}

std::u16string Utf16FromBytes(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t pos = 0; pos + 1 < bytes.size(); pos += 2) {
    const auto first = static_cast<unsigned char>(bytes[pos]);
    const auto second = static_cast<unsigned char>(bytes[pos + 1]);
    out += static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
  }
  return out;
}

}  // namespace pellix::text
