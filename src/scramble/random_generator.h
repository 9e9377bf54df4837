// The random source of the scrambler: the linear congruential recurrence of
// the classic Windows C runtime's rand(), implemented here so that every
// machine scrambles a text the same way.
#pragma once

#include <cstdint>

namespace quirlex {

class RandomGenerator {
 public:
  explicit RandomGenerator(std::uint32_t state = 1) : state_(state) {}

  // A number from 0 to 32767: bits 16 to 30 of the advanced state.
  int draw() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

  std::uint32_t state() const { return state_; }
  void set_state(std::uint32_t state) { state_ = state; }

 private:
  std::uint32_t state_;
};

}  // namespace quirlex
