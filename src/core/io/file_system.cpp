#include "core/io/file_system.h"

namespace pellix::io {

void FileSystem::WriteStream(const std::u16string& path, const Pieces& pieces) const {
  std::string bytes;
  for (std::string_view piece = pieces(); !piece.empty(); piece = pieces()) {
    bytes.append(piece);
  }
  WriteAll(path, bytes);
}

namespace {

std::u16string Tagged(const std::u16string& path, std::u16string_view tag,
                      std::u16string_view suffix) {
  std::u16string tagged = path;
  if (!tag.empty()) {
    tagged.append(u".").append(tag);
  }
  return tagged.append(suffix);
}

}  // namespace

std::optional<FileStamp> FileSystem::Stat(const std::u16string& path) const {
  if (!Exists(path)) {
    return std::nullopt;
  }
  return FileStamp{ReadAll(path).size(), 0};
}

bool FileSystem::CreateExclusive(const std::u16string& path, std::string_view bytes) const {
  if (Exists(path)) {
    return false;
  }
  WriteAll(path, bytes);
  return true;
}

std::u16string TemporaryPathFor(const std::u16string& path, std::u16string_view tag) {
  return Tagged(path, tag, kTemporarySuffix);
}

std::u16string ReplacedPathFor(const std::u16string& path, std::u16string_view tag) {
  return Tagged(path, tag, kReplacedSuffix);
}

}  // namespace pellix::io
