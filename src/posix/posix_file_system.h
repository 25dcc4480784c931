#pragma once

#include "core/io/file_system.h"

namespace pellix::posix {

// Paths are UTF-16 in the core and UTF-8 on disk here.
class PosixFileSystem final : public io::FileSystem {
 public:
  bool Exists(const std::u16string& path) const override;
  std::string ReadAll(const std::u16string& path) const override;
  void WriteAll(const std::u16string& path, std::string_view bytes) const override;
  std::vector<std::u16string> FileNames(const std::u16string& dir) const override;
  bool Remove(const std::u16string& path) const override;
  bool CreateFolder(const std::u16string& path) const override;
  bool Rename(const std::u16string& from, const std::u16string& to) const override;
  std::optional<io::FileStamp> Stat(const std::u16string& path) const override;
  bool CreateExclusive(const std::u16string& path, std::string_view bytes) const override;
  std::int64_t StampNow() const override;
};

}  // namespace pellix::posix
