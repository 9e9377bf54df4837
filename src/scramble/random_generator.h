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
    state_ = state_ * kMultiplier + kIncrement;
    return static_cast<int>((state_ >> 16) & 0x7FFFu);
  }

  // What `draws` draws do to the state, an affine map: the state becomes
  // state * multiplier + increment.
  struct Jump {
    std::uint32_t multiplier = 1;
    std::uint32_t increment = 0;
  };
  static constexpr Jump jump_of(std::uint64_t draws) {
    // Applying the recurrence n times is the map squared along the bits of n.
    Jump jump;
    std::uint32_t multiplier = kMultiplier;
    std::uint32_t increment = kIncrement;
    for (; draws != 0; draws >>= 1) {
      if ((draws & 1) != 0) jump = {jump.multiplier * multiplier, jump.increment * multiplier + increment};
      increment = increment * multiplier + increment;
      multiplier *= multiplier;
    }
    return jump;
  }
  void jump(const Jump& jump) { state_ = state_ * jump.multiplier + jump.increment; }

  // Advances the state as `draws` draws would, in a few dozen steps: so a
  // second thread can scramble the second half of a text from where the
  // first half's draws will have left the generator.
  void discard(std::uint64_t draws) { jump(jump_of(draws)); }

  std::uint32_t state() const { return state_; }
  void set_state(std::uint32_t state) { state_ = state; }

 private:
  static constexpr std::uint32_t kMultiplier = 214013u;
  static constexpr std::uint32_t kIncrement = 2531011u;

  std::uint32_t state_;
};

}  // namespace quirlex
