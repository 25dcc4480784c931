#pragma once
// The short lock beside a file that guards one look-and-replace of it, so that two instances on
// a network share never both replace a version each thought current. It is a file made in one
// step that only one caller can win ("<file>.lock"), held for milliseconds and removed. A lock
// that stays unchanged for seconds was left by a program that stopped while holding it: it is
// taken over.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/io/file_system.h"

namespace pellix::sync {

struct LockTiming {
  std::function<std::uint64_t()> nowMs;  // this machine's clock: how long a lock was seen
  std::function<void(unsigned)> sleepMs;
  std::uint64_t staleAfterMs = 4000;
  std::uint64_t giveUpAfterMs = 10000;
};

class FileLock {
 public:
  // Takes the lock of `target`, waiting while another holds it. `owner` goes into the lock file
  // (the start's clean-up finds this installation's own by it). nullopt when another still held
  // it after giveUpAfterMs. Where no lock file can be made at all (a folder that refuses new
  // files), the caller goes on without one: its write will fail or not on its own.
  static std::optional<FileLock> Take(const io::FileSystem& files, const std::u16string& target,
                                      std::string_view owner, const LockTiming& timing);

  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&&) = delete;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

  bool Held() const { return !path_.empty(); }

 private:
  FileLock(const io::FileSystem& files, std::u16string path)
      : files_(&files), path_(std::move(path)) {}

  const io::FileSystem* files_;
  std::u16string path_;  // empty: nothing held
};

}  // namespace pellix::sync
