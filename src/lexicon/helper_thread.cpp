#include "lexicon/helper_thread.h"

#include <system_error>
#include <utility>

namespace quirlex {

HelperThread::HelperThread(bool wanted) {
  if (!wanted) return;
  try {
    thread_ = std::thread([this] { serve(); });
  } catch (const std::system_error&) {
    // No thread to be had: the caller does both halves.
  }
}

HelperThread::~HelperThread() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void HelperThread::serve() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return quit_ || job_ != nullptr; });
    if (quit_) return;
    const std::function<void(int)>* job = job_;
    lock.unlock();
    std::exception_ptr failure;
    try {
      (*job)(1);
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    job_ = nullptr;
    helper_failure_ = failure;
    helper_done_ = true;
    changed_.notify_all();
  }
}

void HelperThread::run(const std::function<void(int half)>& job) {
  if (!thread_.joinable()) {
    job(0);
    job(1);
    return;
  }
  {
    const std::lock_guard lock(mutex_);
    job_ = &job;
    helper_done_ = false;
  }
  changed_.notify_all();
  std::exception_ptr failure;
  try {
    job(0);
  } catch (...) {
    failure = std::current_exception();
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return helper_done_; });
  if (!failure) failure = std::exchange(helper_failure_, nullptr);
  helper_failure_ = nullptr;
  lock.unlock();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace quirlex
