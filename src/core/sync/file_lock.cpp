#include "core/sync/file_lock.h"

#include <utility>

#include "core/text/utf.h"

namespace pellix::sync {

std::optional<FileLock> FileLock::Take(const io::FileSystem& files, const std::u16string& target,
                                       std::string_view owner, const LockTiming& timing) {
  const std::u16string path = target + std::u16string(io::kLockSuffix);
  const std::uint64_t start = timing.nowMs();
  const std::string content = std::string(owner) + " " + std::to_string(start) + "\r\n";
  std::optional<io::FileStamp> seen;
  std::uint64_t seenSince = start;
  for (;;) {
    if (files.CreateExclusive(path, content)) {
      return FileLock(files, path);
    }
    const std::optional<io::FileStamp> held = files.Stat(path);
    const std::uint64_t now = timing.nowMs();
    if (!held) {
      // Neither made nor there: this folder takes no new files, or the holder let go just now.
      if (files.CreateExclusive(path, content)) {
        return FileLock(files, path);
      }
      if (!files.Stat(path)) {
        return FileLock(files, std::u16string());
      }
      continue;
    }
    if (held != seen) {
      seen = held;
      seenSince = now;
    } else if (now - seenSince >= timing.staleAfterMs) {
      // Of several that found it stale, only one can move it aside; the others wait again.
      const std::u16string aside = path + u"." + text::Utf8ToUtf16(owner) + u".stale";
      if (files.Rename(path, aside)) {
        files.Remove(aside);
      }
      seen.reset();
      continue;
    }
    if (now - start >= timing.giveUpAfterMs) {
      return std::nullopt;
    }
    timing.sleepMs(5);
  }
}

FileLock::FileLock(FileLock&& other) noexcept
    : files_(other.files_), path_(std::exchange(other.path_, std::u16string())) {}

FileLock::~FileLock() {
  if (Held()) {
    files_->Remove(path_);
  }
}

}  // namespace pellix::sync
