#pragma once
// The file operations the core needs, in front of the platform so that error paths can be tested
// anywhere. Paths are UTF-16; every file is read whole and written whole.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellix::io {

// What tells one version of a file from another without reading it: its size and the time of
// its last write, in 100-nanosecond ticks since 1601 on every platform.
struct FileStamp {
  std::uint64_t size = 0;
  std::int64_t writeTime = 0;

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool Exists(const std::u16string& path) const = 0;

  // The whole content. Throws FileOpenError when the file is missing or cannot be read.
  virtual std::string ReadAll(const std::u16string& path) const = 0;

  // Replaces the file atomically: the bytes go to a temporary file in the same folder, which is
  // flushed to disk and then renamed over the target, so a crash leaves either the old file or
  // the new one. Throws FileCreateError on failure, leaving the old file in place.
  virtual void WriteAll(const std::u16string& path, std::string_view bytes) const = 0;

  // The next piece of a file being written; an empty one ends it.
  using Pieces = std::function<std::string_view()>;
  // The same, with the bytes handed over piece by piece, so that a file of any size is written
  // without ever being whole in memory. What `pieces` throws leaves the old file in place and is
  // thrown on. This one gathers the pieces for WriteAll; the platforms write them as they come.
  virtual void WriteStream(const std::u16string& path, const Pieces& pieces) const;

  // The names of the plain files in `dir` (a folder with its trailing separator); none when it
  // cannot be read.
  virtual std::vector<std::u16string> FileNames(const std::u16string& dir) const = 0;

  // Deletes a plain file; false when it was not there or could not be deleted.
  virtual bool Remove(const std::u16string& path) const = 0;

  // Makes the folder and whatever folders above it are missing; whether it exists afterwards.
  virtual bool CreateFolder(const std::u16string& path) const = 0;

  // Gives the file `from` the name `to`, in the same folder. It never replaces a file that
  // already has that name: then, as when `from` is missing or the platform refuses, nothing
  // happens and the answer is false. A change of letter case alone renames the file itself on
  // a file system that ignores case.
  virtual bool Rename(const std::u16string& from, const std::u16string& to) const = 0;

  // The stamp of a plain file; none when there is no such file. This one reads the file; the
  // platforms ask the file system.
  virtual std::optional<FileStamp> Stat(const std::u16string& path) const;

  // Makes a file with `bytes` only when none of that name exists, in one step that two programs
  // (on two machines, on a share) cannot both win. False when the file exists or cannot be made.
  // This one is not one step; the platforms' are.
  virtual bool CreateExclusive(const std::u16string& path, std::string_view bytes) const;

  // The time now in FileStamp's units; 0 where it is not known (then no file seems old).
  virtual std::int64_t StampNow() const { return 0; }
};

inline constexpr std::int64_t kStampTicksPerSecond = 10'000'000;

// The temporary file that WriteAll writes first: "<file>.<tag>.saving", the tag naming the
// program's installation, so that two of them sharing a folder never write, or clean up, one
// another's; "<file>.saving" without a tag.
inline constexpr std::u16string_view kTemporarySuffix = u".saving";
std::u16string TemporaryPathFor(const std::u16string& path, std::u16string_view tag = {});
// A second name the old file keeps while a large file is replaced, removed right after.
inline constexpr std::u16string_view kReplacedSuffix = u".replaced";
std::u16string ReplacedPathFor(const std::u16string& path, std::u16string_view tag = {});
// The lock held beside a file while it is looked at and replaced.
inline constexpr std::u16string_view kLockSuffix = u".lock";
// The name a file has between the two moves of a rename that changes letter case alone.
inline constexpr std::u16string_view kRenamingSuffix = u".renaming";

}  // namespace pellix::io
