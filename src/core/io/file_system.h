#pragma once
// The file operations the core needs, in front of the platform so that error paths can be tested
// anywhere. Paths are UTF-16; every file is read whole and written whole.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pellix::io {

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
};

// The temporary file that WriteAll writes first.
inline constexpr std::u16string_view kTemporarySuffix = u".saving";
std::u16string TemporaryPathFor(const std::u16string& path);
// A second name the old file keeps while a large file is replaced, removed right after.
inline constexpr std::u16string_view kReplacedSuffix = u".replaced";
// The name a file has between the two moves of a rename that changes letter case alone.
inline constexpr std::u16string_view kRenamingSuffix = u".renaming";

}  // namespace pellix::io
