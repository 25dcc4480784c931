#include "core/app/failing_saves.h"

#include <algorithm>
#include <limits>

namespace pellix::app {

bool FailingSaves::Failed(const std::u16string& path, std::uint64_t now) {
  const auto [known, first] = failing_.try_emplace(path);
  Failing& failing = known->second;
  failing.delay = first ? kFirstRetryMs : std::min(failing.delay * 2, kLongestRetryMs);
  failing.retryAt = now + failing.delay;
  return first;
}

void FailingSaves::Written(const std::u16string& path) {
  failing_.erase(path);
}

std::vector<std::u16string> FailingSaves::TakeDue(std::uint64_t now) {
  std::vector<std::u16string> due;
  for (auto& [path, failing] : failing_) {
    if (failing.retryAt <= now) {
      due.push_back(path);
      failing.retryAt = std::numeric_limits<std::uint64_t>::max();
    }
  }
  return due;
}

}  // namespace pellix::app
