#include "base/both_threads.h"

#include <system_error>
#include <thread>

namespace quirlex {

bool second_thread_helps() {
  return std::thread::hardware_concurrency() >= 2;
}

void run_both(const std::function<void()>& first, const std::function<void()>& second) {
  std::exception_ptr second_failure;
  const auto run_second = [&] {
    try {
      second();
    } catch (...) {
      second_failure = std::current_exception();
    }
  };
  std::thread helper;
  if (second_thread_helps()) {
    try {
      helper = std::thread(run_second);
    } catch (const std::system_error&) {
      // No thread to be had: the second piece runs after the first below.
    }
  }
  std::exception_ptr first_failure;
  try {
    first();
  } catch (...) {
    first_failure = std::current_exception();
  }
  if (helper.joinable()) {
    helper.join();
  } else if (!first_failure) {
    run_second();
  }
  if (first_failure) std::rethrow_exception(first_failure);
  if (second_failure) std::rethrow_exception(second_failure);
}

}  // namespace quirlex
