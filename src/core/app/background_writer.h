#pragma once
// Writes whole files on a thread of its own, so that saving a list of any size never holds up
// the window. Every file operation of the program goes through one lock with these writes
// (GuardedFileSystem), so a file is never written by two threads at once, and a write the window
// makes itself replaces any queued one of the same file.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/app/changed_files.h"
#include "core/io/file_system.h"

namespace pellix::app {

class BackgroundWriter {
 public:
  explicit BackgroundWriter(const io::FileSystem& files) : files_(files) {}
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;
  ~BackgroundWriter() { Stop(); }

  // Queues the writes; one still queued for the same file is replaced by the newer content.
  // Ignored once stopped.
  void Queue(std::vector<FileWrite> writes);

  // Waits until every queued write has been made (for tests and measurements).
  void WaitIdle();

  // Ends the thread after the write under way; queued writes are dropped, for the caller is
  // about to write everything itself. Nothing is written in the background afterwards.
  void Stop();

  struct Failure {
    std::u16string path;
    std::u16string message;
  };
  // The writes that failed since the last call.
  std::vector<Failure> TakeFailures();

 private:
  friend class GuardedFileSystem;

  void Run();
  // With the lock held: drops queued writes of `path`.
  void DropQueued(const std::u16string& path);

  const io::FileSystem& files_;
  // Held for every file operation, the background writes included.
  mutable std::mutex fileLock_;
  // Guards the fields below it.
  std::mutex queueLock_;
  std::condition_variable changed_;
  std::deque<FileWrite> queue_;
  std::vector<Failure> failures_;
  bool writing_ = false;
  bool stopped_ = false;
  std::optional<std::thread> thread_;
};

// The program's files as the window uses them: each operation waits for a background write under
// way, and a write or rename of a file first drops the queued background write of it, which is
// older than what the window writes now.
class GuardedFileSystem final : public io::FileSystem {
 public:
  GuardedFileSystem(const io::FileSystem& files, BackgroundWriter& writer)
      : files_(files), writer_(writer) {}

  bool Exists(const std::u16string& path) const override;
  std::string ReadAll(const std::u16string& path) const override;
  void WriteAll(const std::u16string& path, std::string_view bytes) const override;
  void RemoveUnfinishedWrites(const std::u16string& dir) const override;
  bool Rename(const std::u16string& from, const std::u16string& to) const override;

 private:
  const io::FileSystem& files_;
  BackgroundWriter& writer_;
};

}  // namespace pellix::app
