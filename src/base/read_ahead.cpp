#include "base/read_ahead.h"

#include <system_error>
#include <utility>

namespace quirlex {

ReadAhead::ReadAhead(Source source) : source_(std::move(source)) {
  try {
    thread_ = std::thread([this] { read(); });
  } catch (const std::system_error&) {
    // No thread to be had: next reads each piece itself.
  }
}

ReadAhead::~ReadAhead() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void ReadAhead::read() {
  for (;;) {
    // Only this thread touches ahead_ while the state is kReading.
    State read = State::kEnded;
    std::exception_ptr failure;
    try {
      if (source_(ahead_)) read = State::kReady;
    } catch (...) {
      failure = std::current_exception();
      read = State::kFailed;
    }
    std::unique_lock lock(mutex_);
    state_ = read;
    // Handed over under the lock: once the caller has it, this thread holds
    // no reference that it could drop while the caller reads the failure.
    failure_ = std::move(failure);
    changed_.notify_all();
    if (read != State::kReady) return;
    changed_.wait(lock, [this] { return quit_ || state_ == State::kReading; });
    if (quit_) return;
  }
}

bool ReadAhead::next(std::string& piece) {
  if (!thread_.joinable()) {
    if (state_ == State::kEnded || state_ == State::kFailed) {
      piece.clear();
      return false;
    }
    try {
      if (source_(piece)) return true;
    } catch (...) {
      state_ = State::kFailed;
      throw;
    }
    state_ = State::kEnded;
    return false;
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return state_ != State::kReading; });
  switch (state_) {
    case State::kReady:
      // The caller's last piece becomes the memory of the next one.
      piece.swap(ahead_);
      state_ = State::kReading;
      lock.unlock();
      changed_.notify_all();
      return true;
    case State::kFailed:
      state_ = State::kEnded;
      if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
      [[fallthrough]];
    default:
      piece.clear();
      return false;
  }
}

}  // namespace quirlex
