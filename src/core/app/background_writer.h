#pragma once
// Writes whole files on a thread of its own, so that saving a list of any size never holds up
// the window. A file may be handed over unformatted, as a snapshot of its list and a function
// that formats it: then the formatting is done on that thread too. Every file operation of the
// program goes through the writer (GuardedFileSystem), so a file is never written by two threads
// at once, a write the window makes itself replaces any queued one of the same file, and the
// window's operations on other files never wait for a write under way.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/io/file_system.h"
#include "core/sync/item_keys.h"
#include "core/sync/known_file.h"
#include "core/sync/versions.h"

namespace pellix::app {

// What became of one write.
struct WriteOutcome {
  std::u16string path;
  std::optional<std::u16string> failure;  // the message; none: the write was made, or...
  bool changedElsewhere = false;          // ...not made, as another instance changed the file
  // A list file written: the version it is now, the keys of its items, the keys the write lost
  // (sorted) and the list's items stamp it was written from.
  std::optional<sync::KnownFile> written;
  sync::KeysOf keys;
  std::vector<sync::ItemKey> lost;
  std::uint64_t itemsStamp = 0;
};

struct FileWrite {
  // Bytes formatted already.
  FileWrite(std::u16string path, std::string bytes);
  // Formatted on the writer's thread, piece by piece as it writes them; `pieces` must only read
  // what it holds (a snapshot).
  FileWrite(std::u16string path, io::FileSystem::Pieces pieces)
      : path(std::move(path)), pieces(std::move(pieces)) {}

  // Every piece, joined (for tests).
  std::string Content() const;

  std::u16string path;
  io::FileSystem::Pieces pieces;
  // Runs on the writer's thread once the file is written, to fill in the outcome.
  std::function<void(WriteOutcome&)> afterWrite;
};

class BackgroundWriter {
 public:
  // `onThreadStart` runs first on the writer's thread (the program lowers its priority there:
  // a save must never take the processor from the window).
  explicit BackgroundWriter(const io::FileSystem& files,
                            std::function<void()> onThreadStart = nullptr)
      : files_(files), onThreadStart_(std::move(onThreadStart)) {}
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;
  ~BackgroundWriter() { Stop(); }

  // Queues the writes; one still queued for the same file is replaced by the newer content.
  // Ignored while stopped.
  void Queue(std::vector<FileWrite> writes);

  // Runs `task` on the writer's thread, after the writes queued before it and before any queued
  // after it (a look at the folder). Ignored while stopped.
  void QueueTask(std::function<void()> task);

  // Waits until every queued write and task has been made (for tests and measurements).
  void WaitIdle();

  // Ends the thread after the write under way; queued writes are dropped, for the caller is
  // about to write everything itself. Nothing is written in the background until Resume.
  void Stop();
  // Takes writes again after a Stop (a close the user called off).
  void Resume();

  using Outcome = WriteOutcome;
  // The writes made or failed since the last call, in their order.
  std::vector<Outcome> TakeOutcomes();

 private:
  friend class GuardedFileSystem;

  void Run();
  void WriteOne(FileWrite write);
  // With the queue's lock held.
  void DropQueued(const std::u16string& path);
  bool Queued(const std::u16string& path) const;
  // Waits until no queued write of `path` is left (they are made first) and none is under
  // way, then counts the path as busy for the caller; Release ends that.
  void Claim(std::unique_lock<std::mutex>& lock, const std::u16string& path, bool makeQueued);
  void Release(const std::u16string& path);

  const io::FileSystem& files_;
  std::function<void()> onThreadStart_;
  // Guards the fields below it.
  std::mutex queueLock_;
  std::condition_variable changed_;
  std::deque<FileWrite> queue_;    // a write without a path is a task
  std::set<std::u16string> busy_;  // paths a thread is writing, renaming or reading now
  std::vector<Outcome> outcomes_;
  bool stopped_ = false;
  std::optional<std::thread> thread_;
};

// The program's files as the window uses them. A write of a file first drops the queued
// background write of it, which is older than what the window writes now; a read or a rename
// has the queued write made first, so it never sees or moves a file older than the lists.
class GuardedFileSystem final : public io::FileSystem {
 public:
  GuardedFileSystem(const io::FileSystem& files, BackgroundWriter& writer)
      : files_(files), writer_(writer) {}

  bool Exists(const std::u16string& path) const override;
  std::string ReadAll(const std::u16string& path) const override;
  void WriteAll(const std::u16string& path, std::string_view bytes) const override;
  void WriteStream(const std::u16string& path, const Pieces& pieces) const override;
  std::vector<std::u16string> FileNames(const std::u16string& dir) const override;
  bool Remove(const std::u16string& path) const override;
  bool CreateFolder(const std::u16string& path) const override;
  bool Rename(const std::u16string& from, const std::u16string& to) const override;
  // A stamp or a lock file never waits for a write: a replace is one step for whoever looks.
  std::optional<io::FileStamp> Stat(const std::u16string& path) const override {
    return files_.Stat(path);
  }
  bool CreateExclusive(const std::u16string& path, std::string_view bytes) const override {
    return files_.CreateExclusive(path, bytes);
  }
  std::int64_t StampNow() const override { return files_.StampNow(); }

 private:
  template <typename Operation>
  decltype(auto) With(const std::u16string& path, bool makeQueued, Operation&& operation) const;

  const io::FileSystem& files_;
  BackgroundWriter& writer_;
};

}  // namespace pellix::app
