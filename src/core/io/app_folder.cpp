#include "core/io/app_folder.h"

#include "core/text/codec.h"

namespace pellix::io {

std::u16string AppFolder::PathFor(std::string_view name, std::u16string_view extension) const {
  std::u16string path = exeDir_;
  path += text::Cp932ToUtf16(*services_, name);
  path += extension;
  return path;
}

}  // namespace pellix::io
