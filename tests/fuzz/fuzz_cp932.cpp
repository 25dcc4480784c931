// Every captured text and every file passes through the code page 932 helpers, so they must hold
// up to any bytes at all.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "core/platform_services.h"
#include "core/text/codec.h"
#include "core/text/conversions.h"
#include "core/text/cp932.h"
#include "core/text/utf.h"
#include "fuzz_check.h"

namespace {

namespace text = pellix::text;

bool EndsWithLoneLeadByte(std::string_view bytes) {
  std::size_t last = 0;
  for (std::size_t pos = 0; pos < bytes.size(); pos += text::CharSizeAt(bytes, pos)) {
    last = pos;
  }
  return !bytes.empty() && last == bytes.size() - 1 &&
         text::IsLeadByte(static_cast<unsigned char>(bytes[last]));
}

void CheckCharCounting(std::string_view bytes, std::size_t maxChars) {
  const std::size_t length = text::CharLength(bytes);
  PELLIX_FUZZ_CHECK(length <= bytes.size());
  PELLIX_FUZZ_CHECK(length >= (bytes.size() + 1) / 2);
  PELLIX_FUZZ_CHECK(text::PrefixBytesForChars(bytes, length) == bytes.size());
  PELLIX_FUZZ_CHECK(text::PrefixBytesForChars(bytes, std::numeric_limits<std::size_t>::max()) ==
                    bytes.size());

  // The prefix must end on a character boundary: walking whole characters reaches it exactly.
  const std::size_t prefix = text::PrefixBytesForChars(bytes, maxChars);
  std::size_t walked = 0;
  std::size_t chars = 0;
  while (walked < prefix) {
    const std::size_t size = text::CharSizeAt(bytes, walked);
    PELLIX_FUZZ_CHECK(size == 1 ||
                      (size == 2 && text::IsLeadByte(static_cast<unsigned char>(bytes[walked]))));
    walked += size;
    ++chars;
  }
  PELLIX_FUZZ_CHECK(walked == prefix);
  PELLIX_FUZZ_CHECK(chars == std::min(maxChars, length));
  PELLIX_FUZZ_CHECK(text::CharLength(bytes.substr(0, prefix)) == chars);

  // One more character adds one or two bytes, or nothing once the text is used up.
  const std::size_t next = text::PrefixBytesForChars(bytes, maxChars + 1);
  PELLIX_FUZZ_CHECK(next >= prefix && next - prefix <= 2);
  PELLIX_FUZZ_CHECK((next == prefix) == (prefix == bytes.size()));
}

void CheckSplitLines(std::string_view bytes) {
  const std::string_view beforeNul = bytes.substr(0, bytes.find('\0'));
  const std::vector<std::string> lines = text::SplitLines(bytes);

  // As many lines as breaks (CR LF being one), plus the unbroken rest if there is one.
  std::size_t breaks = 0;
  std::string withoutBreaks;
  for (std::size_t pos = 0; pos < beforeNul.size(); ++pos) {
    const char c = beforeNul[pos];
    if (c == '\n' && pos > 0 && beforeNul[pos - 1] == '\r') {
      continue;
    }
    if (c == '\r' || c == '\n') {
      ++breaks;
    } else {
      withoutBreaks += c;
    }
  }
  const bool unbrokenRest =
      !beforeNul.empty() && beforeNul.back() != '\r' && beforeNul.back() != '\n';
  PELLIX_FUZZ_CHECK(lines.size() == breaks + (unbrokenRest ? 1 : 0));

  std::string joined;
  std::string rebuilt;
  for (const std::string& line : lines) {
    PELLIX_FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    joined += line;
    rebuilt.append(line).append("\r\n");
  }
  PELLIX_FUZZ_CHECK(joined == withoutBreaks);
  PELLIX_FUZZ_CHECK(text::SplitLines(rebuilt) == lines);
}

void CheckFileBaseName(std::string_view path) {
  const std::string base = text::FileBaseName(path);
  // A folder in front changes nothing, whatever the name's second bytes look like.
  PELLIX_FUZZ_CHECK(text::FileBaseName("C:\\folder\\" + std::string(path)) == base);
  if (EndsWithLoneLeadByte(path)) {
    return;  // an appended dot would become that lead byte's second half
  }
  // With an extension of our own appended, the last extension is ours, so what comes back is the
  // whole name part of `path`; the base name is that up to its own last dot.
  const std::string name = text::FileBaseName(std::string(path) + ".ext");
  PELLIX_FUZZ_CHECK(path.ends_with(name));
  std::size_t lastDot = std::string::npos;
  for (std::size_t pos = 0; pos < name.size(); pos += text::CharSizeAt(name, pos)) {
    PELLIX_FUZZ_CHECK(name[pos] != '\\' && name[pos] != ':');
    if (name[pos] == '.') {
      lastDot = pos;
    }
  }
  PELLIX_FUZZ_CHECK(base == name.substr(0, lastDot));
}

const text::NarrowableChar* FindNarrowable(unsigned short code) {
  const auto* found =
      std::find_if(text::NarrowableCharsBegin(), text::NarrowableCharsEnd(),
                   [code](const text::NarrowableChar& entry) { return entry.bytes == code; });
  return found == text::NarrowableCharsEnd() ? nullptr : found;
}

void CheckFullToHalfWidth(std::string_view bytes) {
  const std::string narrow = text::FullToHalfWidth(bytes);
  // Character by character: a narrowable one becomes its byte, any other stays as it was.
  std::size_t out = 0;
  for (std::size_t pos = 0; pos < bytes.size(); pos += text::CharSizeAt(bytes, pos)) {
    const std::size_t size = text::CharSizeAt(bytes, pos);
    const text::NarrowableChar* entry =
        size == 2 ? FindNarrowable(
                        static_cast<unsigned short>(static_cast<unsigned char>(bytes[pos]) << 8 |
                                                    static_cast<unsigned char>(bytes[pos + 1])))
                  : nullptr;
    if (entry != nullptr) {
      PELLIX_FUZZ_CHECK(out < narrow.size() &&
                        static_cast<unsigned char>(narrow[out]) == entry->narrow);
      out += 1;
    } else {
      PELLIX_FUZZ_CHECK(std::string_view(narrow).substr(out, size) == bytes.substr(pos, size));
      out += size;
    }
  }
  PELLIX_FUZZ_CHECK(out == narrow.size());
  // Narrow bytes are never lead bytes, so the characters after them keep their boundaries.
  PELLIX_FUZZ_CHECK(text::CharLength(narrow) == text::CharLength(bytes));
  PELLIX_FUZZ_CHECK(text::FullToHalfWidth(narrow) == narrow);
}

bool HasReplacement(std::u16string_view wide) {
  return wide.find(text::kReplacementChar) != std::u16string_view::npos;
}

void CheckCodec(std::string_view bytes) {
  const text::TextServices& services = pellix::PlatformTextServices();
  const std::u16string wide = text::Cp932ToUtf16(services, bytes);
  const std::string encoded = text::Utf16ToCp932(services, wide);
  const std::u16string decodedAgain = text::Cp932ToUtf16(services, encoded);
  // The encoder writes only what the decoder accepts ('?' for what the code page lacks).
  PELLIX_FUZZ_CHECK(!HasReplacement(decodedAgain));
  if (!HasReplacement(wide)) {
    // Characters the code page holds twice come back in their preferred form, so the bytes may
    // change once; the text may not, and the preferred form is stable.
    PELLIX_FUZZ_CHECK(decodedAgain == wide);
    PELLIX_FUZZ_CHECK(text::Utf16ToCp932(services, decodedAgain) == encoded);
    PELLIX_FUZZ_CHECK(text::CharLength(encoded) == wide.size());
  }

  // The same bytes as UTF-16, as a Unicode clipboard text could hold them: one character each
  // (a surrogate pair being one), none of them unreadable once encoded.
  std::u16string units(bytes.size() / 2, u'\0');
  std::memcpy(units.data(), bytes.data(), units.size() * sizeof(char16_t));
  std::size_t pairs = 0;
  for (std::size_t i = 0; i + 1 < units.size(); ++i) {
    if (units[i] >= 0xD800 && units[i] <= 0xDBFF && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      ++pairs;
      ++i;
    }
  }
  const std::u16string roundTrip =
      text::Cp932ToUtf16(services, text::Utf16ToCp932(services, units));
  PELLIX_FUZZ_CHECK(!HasReplacement(roundTrip));
  PELLIX_FUZZ_CHECK(roundTrip.size() == units.size() - pairs);
}

void CheckMapString(std::string_view bytes) {
  const text::TextServices& services = pellix::PlatformTextServices();
  for (const text::Mapping mapping : {text::Mapping::kLowerCase, text::Mapping::kUpperCase,
                                      text::Mapping::kFullWidth, text::Mapping::kHalfWidth}) {
    const std::string once = text::MapString(services, mapping, bytes);
    PELLIX_FUZZ_CHECK(once.empty() == bytes.empty());
    if (mapping == text::Mapping::kLowerCase || mapping == text::Mapping::kUpperCase) {
      // Case is mapped in place: every cased letter keeps its byte length, and bytes that are
      // no letter, broken ones included, stay where they were.
      PELLIX_FUZZ_CHECK(once.size() == bytes.size());
      PELLIX_FUZZ_CHECK(text::CharLength(once) == text::CharLength(bytes));
    } else {
      PELLIX_FUZZ_CHECK(!HasReplacement(text::Cp932ToUtf16(services, once)));
    }
    // Mapping twice changes nothing more. The one exception is a '?' left for a character the
    // code page could not hold: widening that '?' again is a real change.
    if (mapping != text::Mapping::kFullWidth || once.find('?') == std::string::npos) {
      PELLIX_FUZZ_CHECK(text::MapString(services, mapping, once) == once);
    }
  }
}

void CheckUtf8(std::string_view bytes) {
  const std::u16string wide = text::Utf8ToUtf16(bytes);
  PELLIX_FUZZ_CHECK(wide.size() <= bytes.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const char16_t unit = wide[i];
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      PELLIX_FUZZ_CHECK(i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF);
      ++i;
    } else {
      PELLIX_FUZZ_CHECK(unit < 0xDC00 || unit > 0xDFFF);
    }
  }
  const std::string utf8 = text::Utf16ToUtf8(wide);
  PELLIX_FUZZ_CHECK(text::Utf8ToUtf16(utf8) == wide);
  if (!HasReplacement(wide)) {
    PELLIX_FUZZ_CHECK(utf8 == bytes);  // well-formed input comes back byte for byte
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  // Taken from the end, so that a seed file reads as the text it looks like.
  const auto maxChars = provider.ConsumeIntegralInRange<std::size_t>(0, 4096);
  const std::string bytes = provider.ConsumeRemainingBytesAsString();
  CheckCharCounting(bytes, maxChars);
  CheckSplitLines(bytes);
  CheckFileBaseName(bytes);
  CheckFullToHalfWidth(bytes);
  CheckCodec(bytes);
  CheckMapString(bytes);
  CheckUtf8(bytes);
  return 0;
}
