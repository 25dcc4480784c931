#pragma once
// Work that would hold the window up if it ran there (reading a large list, folding one for a
// search), done on a thread of its own: started when asked to, told by a callback on that thread
// when its result can be taken, and joined when this goes.

#include <chrono>
#include <exception>
#include <functional>
#include <future>
#include <thread>
#include <utility>

namespace pellix::app {

template <typename Result>
class BackgroundTask {
 public:
  // `done` runs on the task's thread once the result (or what the work threw) can be taken.
  BackgroundTask(std::function<Result()> work, std::function<void()> done)
      : work_(std::move(work)), done_(std::move(done)) {}
  BackgroundTask(BackgroundTask&&) noexcept = default;
  BackgroundTask& operator=(BackgroundTask&& other) noexcept {
    Join();
    work_ = std::move(other.work_);
    done_ = std::move(other.done_);
    result_ = std::move(other.result_);
    thread_ = std::move(other.thread_);
    return *this;
  }
  ~BackgroundTask() { Join(); }

  // `onThreadStart` runs first on the new thread (to lower its priority, say). A second call
  // does nothing.
  void Start(const std::function<void()>& onThreadStart = {}) {
    if (result_.valid()) {
      return;
    }
    std::promise<Result> promise;
    result_ = promise.get_future();
    thread_ = std::thread(
        [promise = std::move(promise), work = work_, done = done_, onThreadStart]() mutable {
          if (onThreadStart) {
            onThreadStart();
          }
          try {
            promise.set_value(work());
          } catch (...) {
            promise.set_exception(std::current_exception());
          }
          if (done) {
            done();
          }
        });
  }

  bool Ready() const {
    return result_.valid() &&
           result_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
  }

  // The result; waits for it, or does the work here when it was not started. Throws what the
  // work threw.
  Result Take() { return result_.valid() ? result_.get() : work_(); }

 private:
  void Join() {
    if (thread_.joinable()) {
      thread_.join();
    }
  }

  std::function<Result()> work_;
  std::function<void()> done_;
  std::future<Result> result_;
  std::thread thread_;
};

}  // namespace pellix::app
