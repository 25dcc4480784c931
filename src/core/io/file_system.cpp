#include "core/io/file_system.h"

namespace pellix::io {

void FileSystem::WriteStream(const std::u16string& path, const Pieces& pieces) const {
  std::string bytes;
  for (std::string_view piece = pieces(); !piece.empty(); piece = pieces()) {
    bytes.append(piece);
  }
  WriteAll(path, bytes);
}

std::u16string TemporaryPathFor(const std::u16string& path) {
  return path + std::u16string(kTemporarySuffix);
}

}  // namespace pellix::io
