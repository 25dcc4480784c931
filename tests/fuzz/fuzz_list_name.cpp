// List names come from pellix.ini, which users edit by hand, and become the base names of the
// list's two files. A name the check accepts must be, as the file system is given it, a plain
// file name in the program's folder.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/io/app_folder.h"
#include "core/lists/list_names.h"
#include "core/platform_services.h"
#include "core/text/codec.h"
#include "core/text/cp932.h"
#include "fuzz_check.h"

namespace {

namespace text = pellix::text;

constexpr std::u16string_view kFolder = u"C:\\pellix\\";

// Every character on its own, without the check's own code.
bool IsFileNameChar(char16_t ch) {
  return ch >= 0x20 && !(ch >= 0x7F && ch <= 0x9F) && ch != text::kReplacementChar &&
         std::u16string_view(u"\\/:*?\"<>|").find(ch) == std::u16string_view::npos;
}

// Whether some character of the bytes is a lead byte whose next byte cannot be its trail: the
// decoding must not swallow that byte, so the name cannot be accepted.
bool HasBrokenCharacter(std::string_view bytes) {
  for (std::size_t pos = 0; pos < bytes.size();) {
    const auto byte = static_cast<unsigned char>(bytes[pos]);
    if (!text::IsLeadByte(byte)) {
      ++pos;
    } else if (pos + 1 < bytes.size() &&
               text::IsTrailByte(static_cast<unsigned char>(bytes[pos + 1]))) {
      pos += 2;
    } else {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view name(reinterpret_cast<const char*>(data), size);
  const text::TextServices& services = pellix::PlatformTextServices();
  if (!pellix::lists::IsPlainFileName(services, name)) {
    return 0;
  }
  PELLIX_FUZZ_CHECK(!HasBrokenCharacter(name));

  const std::u16string wide = text::Cp932ToUtf16(services, name);
  PELLIX_FUZZ_CHECK(!wide.empty() && wide != u"." && wide != u"..");
  PELLIX_FUZZ_CHECK(wide.back() != u'.' && wide.back() != u' ');
  for (const char16_t ch : wide) {
    PELLIX_FUZZ_CHECK(IsFileNameChar(ch));
  }

  // The paths the program opens are made of this very decoding and stay in the folder.
  const pellix::io::AppFolder folder{std::u16string(kFolder), services};
  for (const std::u16string_view extension : {u".flt", u".dat"}) {
    const std::u16string path = folder.PathFor(name, extension);
    PELLIX_FUZZ_CHECK(path == std::u16string(kFolder) + wide + std::u16string(extension));
  }

  // Letter case folded, as the check for a name used twice folds it, the name is still one a
  // file can have: the two spellings are one file, never a path elsewhere.
  for (const char16_t ch : pellix::lists::ListNameKey(services, name)) {
    PELLIX_FUZZ_CHECK(IsFileNameChar(ch));
  }
  return 0;
}
