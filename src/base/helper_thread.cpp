#include "base/helper_thread.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace quirlex {
namespace {

constexpr auto kLookAgainFor = std::chrono::microseconds(100);

}  // namespace

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
  announce([this] { quit_.store(true, std::memory_order_release); });
  thread_.join();
}

template <typename Ready>
void HelperThread::wait_until(const Ready& ready) {
  const auto give_up = std::chrono::steady_clock::now() + kLookAgainFor;
  for (unsigned look = 1; !ready(); ++look) {
    if (look % 64 == 0 && std::chrono::steady_clock::now() > give_up) {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, ready);
      return;
    }
  }
}

template <typename Change>
void HelperThread::announce(const Change& change) {
  {
    // Under the lock, so that a thread about to sleep sees it or is woken.
    const std::lock_guard lock(mutex_);
    change();
  }
  changed_.notify_all();
}

void HelperThread::serve() {
  std::uint64_t seen = 0;
  for (;;) {
    wait_until([&] {
      return quit_.load(std::memory_order_acquire) ||
             posted_.load(std::memory_order_acquire) != seen;
    });
    if (quit_.load(std::memory_order_acquire)) return;
    seen = posted_.load(std::memory_order_acquire);
    std::exception_ptr failure;
    try {
      (*job_)(1);
    } catch (...) {
      failure = std::current_exception();
    }
    // Handed over whole before the job is announced finished: once the
    // caller goes on, the failure is its own, and no reference to it is
    // left here to be dropped later on this thread.
    helper_failure_ = std::move(failure);
    announce([&] { finished_.store(seen, std::memory_order_release); });
  }
}

void HelperThread::run(const std::function<void(int half)>& job) {
  if (!thread_.joinable()) {
    job(0);
    job(1);
    return;
  }
  job_ = &job;
  const std::uint64_t number = posted_.load(std::memory_order_relaxed) + 1;
  announce([&] { posted_.store(number, std::memory_order_release); });
  std::exception_ptr failure;
  try {
    job(0);
  } catch (...) {
    failure = std::current_exception();
  }
  wait_until([&] { return finished_.load(std::memory_order_acquire) == number; });
  if (!failure) failure = std::exchange(helper_failure_, nullptr);
  helper_failure_ = nullptr;
  if (failure) std::rethrow_exception(failure);
}

bool second_thread_helps() {
  return std::thread::hardware_concurrency() >= 2;
}

void run_both(const std::function<void()>& first, const std::function<void()>& second) {
  HelperThread helper(second_thread_helps());
  helper.run([&](int half) { half == 0 ? first() : second(); });
}

}  // namespace quirlex
