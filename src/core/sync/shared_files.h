#pragma once
// The program's folder as several instances (two PCs, through a share or a sync service) use it
// at once. Every file operation of the program passes through here on its way to the platform.
// For the folder's own files this remembers the version last read or written, and never
// replaces a file that changed since:
//   - a list file (".dat") that changed elsewhere is not written: the write fails with
//     ChangedElsewhere, and the caller takes the change into its list and writes again;
//   - pellix.ini and the filter files are merged key by key: what this instance changed since
//     its last write wins, what the other changed is kept;
//   - the memo that changed elsewhere is kept beside it as "memo-<date>-<time>.txt" before this
//     instance's text replaces it, and the user is told.
// Each replace holds the file's lock (FileLock) from its look to its rename.

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/io/errors.h"
#include "core/io/file_system.h"
#include "core/sync/known_file.h"

namespace pellix::sync {

enum class SharedKind { kNone, kList, kSettings, kFilter, kMemo };

// Not written: another instance changed the list file since this one read or wrote it.
class ChangedElsewhere : public io::AppError {
 public:
  explicit ChangedElsewhere(const std::u16string& path);
};

class SharedFiles final : public io::FileSystem {
 public:
  struct Options {
    LockSettings lock;
    // "20261209-153012": when a memo changed elsewhere is kept aside.
    std::function<std::u16string()> timestamp;
  };
  // `dir` is the program's folder, with its separator.
  SharedFiles(const io::FileSystem& files, std::u16string dir, Options options)
      : files_(files), dir_(std::move(dir)), options_(std::move(options)) {}

  SharedKind KindOf(const std::u16string& path) const;

  // The version of a shared file this instance last read or wrote (or took in with Adopt);
  // none when it has not read or written it.
  std::optional<KnownFile> Known(const std::u16string& path) const;
  // What it last read or wrote of a file of lines, and what it knew before that (what a copy a
  // sync service made beside the current version most likely started from).
  std::string KnownContent(const std::u16string& path) const;
  std::string PreviousContent(const std::u16string& path) const;
  // Every shared file known, by path.
  std::vector<std::u16string> KnownPaths() const;
  // The instance saw the version `to` (with `content`, for a file of lines) in place of `from`:
  // unless the file was read or written since `from`, `to` is now the version known. `taken`:
  // the instance's data now is that version (a filter read again, a memo taken over); otherwise
  // it keeps its own values, as the settings do, and its next write merges them in again.
  bool Adopt(const std::u16string& path, const KnownFile& from, const KnownFile& to,
             std::string content, bool taken);

  // Memos that changed elsewhere and were kept aside, since the last call: their paths.
  std::vector<std::u16string> TakeKeptMemos();

  bool Exists(const std::u16string& path) const override { return files_.Exists(path); }
  std::string ReadAll(const std::u16string& path) const override;
  void WriteAll(const std::u16string& path, std::string_view bytes) const override;
  void WriteStream(const std::u16string& path, const Pieces& pieces) const override;
  std::vector<std::u16string> FileNames(const std::u16string& dir) const override {
    return files_.FileNames(dir);
  }
  bool Remove(const std::u16string& path) const override;
  bool CreateFolder(const std::u16string& path) const override { return files_.CreateFolder(path); }
  bool Rename(const std::u16string& from, const std::u16string& to) const override;
  std::optional<io::FileStamp> Stat(const std::u16string& path) const override {
    return files_.Stat(path);
  }
  bool CreateExclusive(const std::u16string& path, std::string_view bytes) const override {
    return files_.CreateExclusive(path, bytes);
  }
  std::int64_t StampNow() const override { return files_.StampNow(); }

 private:
  struct Entry {
    KnownFile known;
    std::string content;  // files of lines: as last read or written
    std::string previous;
    std::string mine;  // files of key lines: what this instance last wrote
    bool written = false;
  };

  // Writes `mine` to a file of lines under its lock: merged (keys) or with the other text kept
  // aside (memo) when it changed since it was known.
  void WriteLines(const std::u16string& path, SharedKind kind, std::string mine) const;
  KnownFile Replace(const std::u16string& path, const KnownFile& over, const Pieces& pieces) const;

  const io::FileSystem& files_;
  std::u16string dir_;
  Options options_;
  mutable std::mutex lock_;  // guards the fields below
  mutable std::map<std::u16string, Entry> entries_;
  mutable std::vector<std::u16string> keptMemos_;
};

// Where a memo changed elsewhere is kept: "<dir>memo-<timestamp>.txt", numbered when taken.
std::u16string KeptMemoPath(const io::FileSystem& files, const std::u16string& dir,
                            const std::u16string& timestamp);

}  // namespace pellix::sync
