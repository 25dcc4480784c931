// The Unicode list's file: a byte-order mark picks the encoding, and whatever follows is untrusted.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/lists/list_file.h"
#include "core/platform_services.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pellix::text::TextServices& services = pellix::PlatformTextServices();
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const pellix::lists::WideItems items = pellix::lists::ParseUnicodeListFile(services, content);
  for (const std::u16string& item : items) {
    PELLIX_FUZZ_CHECK(item.find_first_of(u"\r\n\u2028") == std::u16string::npos);
    PELLIX_FUZZ_CHECK(item.find(u'\0') == std::u16string::npos);
  }

  // The list is saved as UTF-16 LE whatever it was read from, and must read back unchanged.
  const std::string written = pellix::lists::FormatUnicodeListFile(items);
  PELLIX_FUZZ_CHECK(written.starts_with("\xFF\xFE"));
  PELLIX_FUZZ_CHECK(written.size() % 2 == 0);
  PELLIX_FUZZ_CHECK(pellix::lists::ParseUnicodeListFile(services, written) == items);
  return 0;
}
