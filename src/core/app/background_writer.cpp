#include "core/app/background_writer.h"

#include <algorithm>
#include <utility>

#include "core/io/errors.h"

namespace pellix::app {

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

void BackgroundWriter::DropQueued(const std::u16string& path) {
  queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                              [&](const FileWrite& queued) { return queued.path == path; }),
               queue_.end());
}

void BackgroundWriter::WaitIdle() {
  std::unique_lock lock(queueLock_);
  changed_.wait(lock, [this] { return stopped_ || (queue_.empty() && !writing_); });
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
}

std::vector<BackgroundWriter::Failure> BackgroundWriter::TakeFailures() {
  const std::lock_guard lock(queueLock_);
  return std::exchange(failures_, {});
}

void BackgroundWriter::Run() {
  for (;;) {
    {
      std::unique_lock lock(queueLock_);
      changed_.wait(lock, [this] { return stopped_ || !queue_.empty(); });
      if (stopped_) {
        return;
      }
    }
    // The file lock comes before the write is taken from the queue: a write the window makes
    // meanwhile either drops it first or waits until it is made, so the newer content always
    // lands last.
    const std::lock_guard files(fileLock_);
    std::optional<FileWrite> write;
    {
      const std::lock_guard lock(queueLock_);
      if (stopped_ || queue_.empty()) {
        continue;
      }
      write = std::move(queue_.front());
      queue_.pop_front();
      writing_ = true;
    }
    std::optional<Failure> failure;
    try {
      files_.WriteAll(write->path, write->content);
    } catch (const io::AppError& error) {
      failure = Failure{write->path, error.Message()};
    } catch (const std::exception&) {
      failure = Failure{write->path, u""};
    }
    {
      const std::lock_guard lock(queueLock_);
      writing_ = false;
      if (failure) {
        failures_.push_back(std::move(*failure));
      }
    }
    changed_.notify_all();
  }
}

bool GuardedFileSystem::Exists(const std::u16string& path) const {
  const std::lock_guard lock(writer_.fileLock_);
  return files_.Exists(path);
}

std::string GuardedFileSystem::ReadAll(const std::u16string& path) const {
  const std::lock_guard lock(writer_.fileLock_);
  return files_.ReadAll(path);
}

void GuardedFileSystem::WriteAll(const std::u16string& path, std::string_view bytes) const {
  {
    const std::lock_guard queue(writer_.queueLock_);
    writer_.DropQueued(path);
  }
  const std::lock_guard lock(writer_.fileLock_);
  files_.WriteAll(path, bytes);
}

void GuardedFileSystem::RemoveUnfinishedWrites(const std::u16string& dir) const {
  const std::lock_guard lock(writer_.fileLock_);
  files_.RemoveUnfinishedWrites(dir);
}

bool GuardedFileSystem::Rename(const std::u16string& from, const std::u16string& to) const {
  {
    const std::lock_guard queue(writer_.queueLock_);
    writer_.DropQueued(from);
    writer_.DropQueued(to);
  }
  const std::lock_guard lock(writer_.fileLock_);
  return files_.Rename(from, to);
}

}  // namespace pellix::app
