#pragma once
// The files whose background saves fail: when the user is told (once, until a save of that file
// succeeds again) and when each is tried again (after a few seconds, then less and less often,
// up to about a minute; a new change of the file is written at once anyway).

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pellix::app {

class FailingSaves {
 public:
  static constexpr std::uint64_t kFirstRetryMs = 3000;
  static constexpr std::uint64_t kLongestRetryMs = 60000;

  // A write of `path` failed at `now` (milliseconds on any steady clock). True when the user is
  // to be told: the file had not failed since it was last written.
  bool Failed(const std::u16string& path, std::uint64_t now);
  void Written(const std::u16string& path);

  // The failing files due to be tried again at `now`; each is not due again before its outcome
  // has come back.
  std::vector<std::u16string> TakeDue(std::uint64_t now);

  bool Any() const { return !failing_.empty(); }

 private:
  struct Failing {
    std::uint64_t retryAt = 0;
    std::uint64_t delay = 0;
  };
  std::map<std::u16string, Failing> failing_;
};

}  // namespace pellix::app
