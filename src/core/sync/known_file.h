#pragma once
// A file as this instance last read or wrote it, and the replace that only happens while the
// file is still that version: between the look and the replace no other instance can write it
// (its lock is held), so a change made elsewhere is never overwritten unseen.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/io/file_system.h"
#include "core/sync/file_lock.h"

namespace pellix::sync {

struct KnownFile {
  std::optional<io::FileStamp> stamp;  // none: there was no file
  std::uint64_t contentHash = 0;

  friend bool operator==(const KnownFile&, const KnownFile&) = default;
};

// Up to this size a file whose stamp is unchanged is also read and compared, while its write time
// is less than this many seconds old: write times on shares and sync services can be too coarse
// to tell two writes within a second or two apart. Larger lists change size with every capture.
inline constexpr std::uint64_t kCompareContentBelow = 1u << 20;
inline constexpr std::int64_t kCoarseTimes = 5;

// Whether the file is still the version `known` describes. A file that is gone counts as
// unchanged: no instance's version is lost by writing it again (a list removed elsewhere goes
// from the settings, and so at the next start).
bool StillAsKnown(const io::FileSystem& files, const std::u16string& path, const KnownFile& known);

struct FoundFile {
  KnownFile known;
  std::string content;  // empty when there is no file
};

// The file as it is now, read whole; its stamp is the one it had while it was read. Throws what
// the read throws.
FoundFile ReadFound(const io::FileSystem& files, const std::u16string& path);

// Whoever holds the locks, and how long it waits for them.
struct LockSettings {
  std::string owner;
  LockTiming timing;
};

// Under the file's lock, replaces it with `pieces` if it is still the version `known`; the new
// version, or nullopt when it had changed (nothing is written then). Throws FileCreateError when
// the write fails, or when another instance held the lock too long.
std::optional<KnownFile> ReplaceIfUnchanged(const io::FileSystem& files, const std::u16string& path,
                                            const KnownFile& known,
                                            const io::FileSystem::Pieces& pieces,
                                            const LockSettings& lock);

}  // namespace pellix::sync
