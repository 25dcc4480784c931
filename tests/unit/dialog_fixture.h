#pragma once
// A program folder and a store for the tests of the filter dialogs' commands.

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "core/filters/filter_file.h"
#include "core/io/app_folder.h"
#include "core/lists/list_file.h"
#include "core/lists/list_store.h"
#include "core/platform_services.h"
#include "test_folder.h"

namespace pellix::list_admin::testing_support {

// The platform's files, except that renames can be made to fail and writes to one path too,
// as when another program holds a file open.
class HeldFiles final : public io::FileSystem {
 public:
  bool Exists(const std::u16string& path) const override { return real_.Exists(path); }
  std::string ReadAll(const std::u16string& path) const override { return real_.ReadAll(path); }
  void WriteAll(const std::u16string& path, std::string_view bytes) const override {
    if (path == heldPath) {
      throw io::FileCreateError(path);
    }
    real_.WriteAll(path, bytes);
  }
  std::vector<std::u16string> FileNames(const std::u16string& dir) const override {
    return real_.FileNames(dir);
  }
  bool Remove(const std::u16string& path) const override { return real_.Remove(path); }
  bool CreateFolder(const std::u16string& path) const override { return real_.CreateFolder(path); }
  bool Rename(const std::u16string& from, const std::u16string& to) const override {
    return !renamesFail && real_.Rename(from, to);
  }

  bool renamesFail = false;
  std::u16string heldPath;

 private:
  const io::FileSystem& real_ = PlatformFileSystem();
};

class DialogTest : public testing::Test {
 protected:
  void WriteFilter(std::string_view name, std::string_view type = "0") const {
    filters::FilterDef def;
    def.filname = std::string(name);
    def.type = std::string(type);
    filters::WriteFilterFile(files_, app_, def);
  }
  void Add(std::string_view name) { store_.AddListSlot(files_, app_, services_, name); }
  // Writes the filter file of each name and adds the lists in that order.
  void AddLists(std::initializer_list<std::string_view> names) {
    for (const std::string_view name : names) {
      WriteFilter(name);
      Add(name);
    }
  }
  bool FileThere(std::u16string_view name) const {
    return files_.Exists(folder_.File(std::u16string(name)));
  }
  // The folder's file names as they are spelt on disk, sorted.
  std::vector<std::u16string> FileNames() const {
    std::vector<std::u16string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path())) {
      names.push_back(entry.path().filename().u16string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::u16string FilterPath(std::string_view name) const {
    return filters::FilterFilePath(app_, name);
  }
  std::u16string ListPath(std::string_view name) const { return lists::ListFilePath(app_, name); }

  pellix::testing_support::TestFolder folder_;
  const text::TextServices& services_ = PlatformTextServices();
  HeldFiles files_;
  io::AppFolder app_{folder_.Dir(), services_};
  lists::ListStore store_;
};

}  // namespace pellix::list_admin::testing_support
