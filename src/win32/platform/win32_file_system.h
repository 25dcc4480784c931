#pragma once

#include "core/io/file_system.h"

namespace pellix::win32 {

class Win32FileSystem final : public io::FileSystem {
 public:
  bool Exists(const std::u16string& path) const override;
  std::string ReadAll(const std::u16string& path) const override;
  void WriteAll(const std::u16string& path, std::string_view bytes) const override;
  void WriteStream(const std::u16string& path, const Pieces& pieces) const override;
  std::vector<std::u16string> FileNames(const std::u16string& dir) const override;
  bool Remove(const std::u16string& path) const override;
  bool CreateFolder(const std::u16string& path) const override;
  bool Rename(const std::u16string& from, const std::u16string& to) const override;
};

}  // namespace pellix::win32
