#include "core/app/instance_tag.h"

#include <algorithm>

#include "core/io/errors.h"
#include "core/text/utf.h"

namespace pellix::app {
namespace {

std::u16string Hex(std::uint64_t bits) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string tag;
  for (int shift = 28; shift >= 0; shift -= 4) {
    tag += kDigits[(bits >> shift) & 0xF];
  }
  return tag;
}

}  // namespace

bool IsInstanceTag(std::u16string_view tag) {
  return tag.size() == 8 && std::all_of(tag.begin(), tag.end(), [](char16_t ch) {
           return (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'f');
         });
}

std::u16string InstanceTag(const io::FileSystem& files, const std::u16string& dir,
                           std::uint64_t random) {
  const std::u16string made = Hex(random ^ (random >> 32));
  if (dir.empty()) {
    return made;
  }
  const std::u16string path = dir + u"instance.txt";
  try {
    if (files.Exists(path)) {
      std::string kept = files.ReadAll(path);
      kept = kept.substr(0, kept.find_first_of("\r\n"));
      const std::u16string tag = text::Utf8ToUtf16(kept);
      if (IsInstanceTag(tag)) {
        return tag;
      }
    }
    if (files.CreateFolder(dir)) {
      files.WriteAll(path, text::Utf16ToUtf8(made) + "\r\n");
    }
  } catch (const io::AppError&) {
    // Not kept: this run's own leftovers are still its own.
  }
  return made;
}

}  // namespace pellix::app
