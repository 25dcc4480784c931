#pragma once

#include <string>

#include "core/io/file_system.h"

namespace pellix::win32 {

class Win32FileSystem final : public io::FileSystem {
 public:
  // `tag` names this installation in the temporary files' names (none: no tag).
  explicit Win32FileSystem(std::u16string tag = {}) : tag_(std::move(tag)) {}

  bool Exists(const std::u16string& path) const override;
  std::string ReadAll(const std::u16string& path) const override;
  void WriteAll(const std::u16string& path, std::string_view bytes) const override;
  void WriteStream(const std::u16string& path, const Pieces& pieces) const override;
  std::vector<std::u16string> FileNames(const std::u16string& dir) const override;
  bool Remove(const std::u16string& path) const override;
  bool CreateFolder(const std::u16string& path) const override;
  bool Rename(const std::u16string& from, const std::u16string& to) const override;
  std::optional<io::FileStamp> Stat(const std::u16string& path) const override;
  bool CreateExclusive(const std::u16string& path, std::string_view bytes) const override;
  std::int64_t StampNow() const override;

 private:
  std::u16string tag_;
};

}  // namespace pellix::win32
