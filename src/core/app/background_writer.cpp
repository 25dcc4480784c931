#include "core/app/background_writer.h"

#include <algorithm>
#include <utility>

#include "core/io/errors.h"
#include "core/sync/shared_files.h"
#include "core/text/utf.h"

namespace pellix::app {

FileWrite::FileWrite(std::u16string path, std::string bytes)
    : path(std::move(path)),
      pieces([bytes = std::make_shared<const std::string>(std::move(bytes)),
              given = false]() mutable -> std::string_view {
        return std::exchange(given, true) ? std::string_view() : std::string_view(*bytes);
      }) {}

std::string FileWrite::Content() const {
  io::FileSystem::Pieces copy = pieces;
  std::string bytes;
  for (std::string_view piece = copy(); !piece.empty(); piece = copy()) {
    bytes.append(piece);
  }
  return bytes;
}

void BackgroundWriter::Queue(std::vector<FileWrite> writes) {
  if (writes.empty()) {
    return;
  }
  {
    const std::lock_guard lock(queueLock_);
    if (stopped_) {
      return;
    }
    for (FileWrite& write : writes) {
      DropQueued(write.path);
      queue_.push_back(std::move(write));
    }
    if (!thread_) {
      thread_.emplace([this] { Run(); });
    }
  }
  changed_.notify_all();
}

void BackgroundWriter::QueueTask(std::function<void()> task) {
  {
    const std::lock_guard lock(queueLock_);
    if (stopped_) {
      return;
    }
    FileWrite write{std::u16string(), io::FileSystem::Pieces()};
    write.afterWrite = [task = std::move(task)](WriteOutcome&) { task(); };
    queue_.push_back(std::move(write));
    if (!thread_) {
      thread_.emplace([this] { Run(); });
    }
  }
  changed_.notify_all();
}

void BackgroundWriter::DropQueued(const std::u16string& path) {
  queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                              [&](const FileWrite& queued) { return queued.path == path; }),
               queue_.end());
}

bool BackgroundWriter::Queued(const std::u16string& path) const {
  return std::any_of(queue_.begin(), queue_.end(),
                     [&](const FileWrite& queued) { return queued.path == path; });
}

void BackgroundWriter::WaitIdle() {
  std::unique_lock lock(queueLock_);
  changed_.wait(lock, [this] { return stopped_ || (queue_.empty() && busy_.empty()); });
}

void BackgroundWriter::Stop() {
  {
    const std::lock_guard lock(queueLock_);
    stopped_ = true;
    queue_.clear();
  }
  changed_.notify_all();
  if (thread_ && thread_->joinable()) {
    thread_->join();
  }
  thread_.reset();
}

void BackgroundWriter::Resume() {
  const std::lock_guard lock(queueLock_);
  stopped_ = false;
}

std::vector<BackgroundWriter::Outcome> BackgroundWriter::TakeOutcomes() {
  const std::lock_guard lock(queueLock_);
  return std::exchange(outcomes_, {});
}

void BackgroundWriter::Claim(std::unique_lock<std::mutex>& lock, const std::u16string& path,
                             bool makeQueued) {
  if (!makeQueued) {
    DropQueued(path);
  } else if (Queued(path) && thread_) {
    // Made next, before the older ones of other files.
    const auto queued = std::find_if(queue_.begin(), queue_.end(),
                                     [&](const FileWrite& write) { return write.path == path; });
    std::rotate(queue_.begin(), queued, queued + 1);
    changed_.notify_all();
  }
  changed_.wait(
      lock, [&] { return !busy_.contains(path) && (!makeQueued || stopped_ || !Queued(path)); });
  busy_.insert(path);
}

void BackgroundWriter::Release(const std::u16string& path) {
  {
    const std::lock_guard lock(queueLock_);
    busy_.erase(path);
  }
  changed_.notify_all();
}

void BackgroundWriter::Run() {
  if (onThreadStart_) {
    onThreadStart_();
  }
  for (;;) {
    std::optional<FileWrite> write;
    {
      std::unique_lock lock(queueLock_);
      changed_.wait(lock, [this] {
        return stopped_ || std::any_of(queue_.begin(), queue_.end(), [this](const FileWrite& w) {
                 return !busy_.contains(w.path);
               });
      });
      if (stopped_) {
        return;
      }
      // The first write whose file nobody else has in hand; the window's operation on a file
      // waits for this one only when it is the same file.
      const auto next = std::find_if(queue_.begin(), queue_.end(), [this](const FileWrite& w) {
        return !busy_.contains(w.path);
      });
      write = std::move(*next);
      queue_.erase(next);
      busy_.insert(write->path);
    }
    WriteOne(std::move(*write));
  }
}

void BackgroundWriter::WriteOne(FileWrite write) {
  WriteOutcome outcome;
  outcome.path = write.path;
  const bool task = write.path.empty();
  // Nothing may leave this thread: a failure of any kind is the write's outcome.
  try {
    if (!task) {
      files_.WriteStream(write.path, write.pieces);
      write.pieces = nullptr;  // the snapshot goes as soon as it is written
    }
    if (write.afterWrite) {
      write.afterWrite(outcome);
    }
  } catch (const sync::ChangedElsewhere&) {
    outcome.changedElsewhere = true;
  } catch (const io::AppError& error) {
    outcome.failure = error.Message();
  } catch (const std::exception& error) {
    outcome.failure =
        io::FileCreateError(write.path).Message() + u"\r\n" + text::Utf8ToUtf16(error.what());
  } catch (...) {
    outcome.failure = io::FileCreateError(write.path).Message();
  }
  {
    const std::lock_guard lock(queueLock_);
    busy_.erase(write.path);
    if (!task) {
      outcomes_.push_back(std::move(outcome));
    }
  }
  changed_.notify_all();
}

template <typename Operation>
decltype(auto) GuardedFileSystem::With(const std::u16string& path, bool makeQueued,
                                       Operation&& operation) const {
  {
    std::unique_lock lock(writer_.queueLock_);
    writer_.Claim(lock, path, makeQueued);
  }
  struct Released {
    BackgroundWriter& writer;
    const std::u16string& path;
    ~Released() { writer.Release(path); }
  } released{writer_, path};
  return operation();
}

bool GuardedFileSystem::Exists(const std::u16string& path) const {
  return With(path, true, [&] { return files_.Exists(path); });
}

std::string GuardedFileSystem::ReadAll(const std::u16string& path) const {
  return With(path, true, [&] { return files_.ReadAll(path); });
}

void GuardedFileSystem::WriteAll(const std::u16string& path, std::string_view bytes) const {
  With(path, false, [&] { files_.WriteAll(path, bytes); });
}

void GuardedFileSystem::WriteStream(const std::u16string& path, const Pieces& pieces) const {
  With(path, false, [&] { files_.WriteStream(path, pieces); });
}

std::vector<std::u16string> GuardedFileSystem::FileNames(const std::u16string& dir) const {
  writer_.WaitIdle();
  return files_.FileNames(dir);
}

bool GuardedFileSystem::Remove(const std::u16string& path) const {
  return With(path, false, [&] { return files_.Remove(path); });
}

bool GuardedFileSystem::CreateFolder(const std::u16string& path) const {
  return files_.CreateFolder(path);
}

bool GuardedFileSystem::Rename(const std::u16string& from, const std::u16string& to) const {
  return With(from, true, [&] { return With(to, true, [&] { return files_.Rename(from, to); }); });
}

}  // namespace pellix::app
