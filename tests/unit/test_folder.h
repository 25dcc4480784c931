#pragma once
// A fresh folder under the system's temporary folder, removed again with everything in it.

#include <filesystem>
#include <string>

namespace pellix::testing_support {

class TestFolder {
 public:
  TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;
  ~TestFolder();

  const std::filesystem::path& Path() const { return path_; }
  // The folder with its trailing separator, as the program's folder is given to the core.
  std::u16string Dir() const;
  std::u16string File(const std::u16string& name) const { return Dir() + name; }

 private:
  std::filesystem::path path_;
};

}  // namespace pellix::testing_support
