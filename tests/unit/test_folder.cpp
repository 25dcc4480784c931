#include "test_folder.h"

#include <atomic>
#include <chrono>

namespace pellix::testing_support {

TestFolder::TestFolder() {
  static std::atomic<int> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  path_ = std::filesystem::temp_directory_path() /
          ("pellix-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(path_);
}

TestFolder::~TestFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::u16string TestFolder::Dir() const {
  return (path_ / "").u16string();
}

}  // namespace pellix::testing_support
