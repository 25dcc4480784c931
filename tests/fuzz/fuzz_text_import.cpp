// Text import and the memo read whatever file the user picks, in whatever encoding it is.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/capture/text_import.h"
#include "core/lists/list_file.h"
#include "core/memo/memo_file.h"
#include "core/platform_services.h"
#include "core/text/cp932.h"
#include "core/text/file_encoding.h"
#include "core/text/utf.h"
#include "fuzz_check.h"

namespace {

namespace text = pellix::text;
namespace capture = pellix::capture;

void CheckUtf8Validity(std::string_view bytes) {
  // Valid exactly when the bytes decode without loss and come back as they were.
  const bool roundTrips = text::Utf16ToUtf8(text::Utf8ToUtf16(bytes)) == bytes;
  PELLIX_FUZZ_CHECK(text::IsValidUtf8(bytes) == roundTrips);
}

void CheckImport(std::string_view bytes) {
  const text::TextServices& services = pellix::PlatformTextServices();
  const text::DetectedEncoding detected = text::DetectEncoding(bytes);
  const std::string imported = capture::ImportedText(services, bytes);
  PELLIX_FUZZ_CHECK(imported.find('\0') == std::string::npos);
  if (detected.encoding == text::FileEncoding::kCp932) {
    PELLIX_FUZZ_CHECK(imported == bytes.substr(0, bytes.find('\0')));
  }
  const std::string joined = capture::JoinLinesWithCrLf(imported);
  PELLIX_FUZZ_CHECK(joined.empty() || joined.ends_with("\r\n"));
  PELLIX_FUZZ_CHECK(text::SplitLines(joined) == capture::ImportedLines(services, bytes));

  // The Unicode list's import differs from its file reader only for UTF-8 without a mark.
  const auto wide = capture::ImportedUnicodeLines(services, bytes);
  if (detected.markSize != 0 || detected.encoding == text::FileEncoding::kCp932) {
    PELLIX_FUZZ_CHECK(wide == pellix::lists::ParseUnicodeListFile(services, bytes));
  }
  for (const std::u16string& line : wide) {
    PELLIX_FUZZ_CHECK(line.find_first_of(std::u16string_view(u"\r\n\u2028\0", 4)) ==
                      std::u16string::npos);
  }
}

void CheckMemo(std::string_view bytes) {
  const auto& services = pellix::PlatformTextServices();
  const pellix::memo::MemoText memo = pellix::memo::ParseMemoFile(services, bytes);
  const std::u16string& text = memo.text;
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    if (text[pos] == u'\r') {
      PELLIX_FUZZ_CHECK(pos + 1 < text.size() && text[pos + 1] == u'\n');
    } else if (text[pos] == u'\n') {
      PELLIX_FUZZ_CHECK(pos > 0 && text[pos - 1] == u'\r');
    }
  }
  // A memo in UTF-8 or UTF-16 is written back as it came and reads back the same.
  if (memo.encoding.encoding != pellix::text::FileEncoding::kCp932) {
    const std::string written = pellix::memo::FormatMemoFile(services, text, memo.encoding);
    const pellix::memo::MemoText again = pellix::memo::ParseMemoFile(services, written);
    PELLIX_FUZZ_CHECK(again.text == text);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckUtf8Validity(bytes);
  CheckImport(bytes);
  CheckMemo(bytes);
  return 0;
}
