// A second thread for work that splits in two halves (each half must touch
// only what the other does not): run(job) runs job(0) on the calling thread
// and job(1) on the helper at once, and returns when both have ended. Without a helper (one was not wanted, or could not be
// started) both halves run on the caller, one after the other, so a job
// whose halves touch different data gives the same result either way.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace quirlex {

// Whether a second thread can help at all: false on a single processor.
bool second_thread_helps();

class HelperThread {
 public:
  // Starts the helper when `wanted`.
  explicit HelperThread(bool wanted);
  ~HelperThread();
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  bool has_helper() const { return thread_.joinable(); }

  // Runs both halves; a failure of either is thrown here once both ended.
  void run(const std::function<void(int half)>& job);

 private:
  void serve();
  // Waits until `ready()`: first briefly by looking again and again (jobs
  // follow each other within microseconds, and waking a sleeping thread
  // takes tens of them), then asleep until told of a change.
  template <typename Ready>
  void wait_until(const Ready& ready);
  // Makes a change another thread may wait for, and tells it.
  template <typename Change>
  void announce(const Change& change);

  std::mutex mutex_;
  std::condition_variable changed_;
  const std::function<void(int)>* job_ = nullptr;
  std::atomic<std::uint64_t> posted_{0};    // jobs handed to the helper
  std::atomic<std::uint64_t> finished_{0};  // jobs the helper ended
  std::atomic<bool> quit_{false};
  std::exception_ptr helper_failure_;
  std::thread thread_;
};

// Runs `first` and `second` at once, on this thread and on a helper started
// for them, as HelperThread::run runs two halves: for work split in two now
// and then (a text made or restored in two halves); work split again and
// again keeps a HelperThread of its own.
void run_both(const std::function<void()>& first, const std::function<void()>& second);

}  // namespace quirlex
