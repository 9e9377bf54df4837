// The helper thread: both halves of every job run, with a helper or
// without, and a failure of either half reaches the caller, after which the
// helper still takes jobs.
#include "base/helper_thread.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

namespace quirlex {
namespace {

TEST(HelperThread, RunsBothHalvesAndPassesOnTheFailureOfEither) {
  for (const bool wanted : {false, true}) {
    HelperThread threads(wanted);
    for (int round = 0; round < 50; ++round) {
      for (const int failing : {-1, 0, 1}) {
        SCOPED_TRACE("helper " + std::to_string(wanted) + ", failing half " +
                     std::to_string(failing));
        std::array<int, 2> ran{};
        const auto job = [&](int half) {
          ran[static_cast<std::size_t>(half)] = 1;
          if (half == failing) throw std::runtime_error("half " + std::to_string(half));
        };
        if (failing < 0) {
          threads.run(job);
        } else {
          try {
            threads.run(job);
            ADD_FAILURE() << "no failure passed on";
          } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), "half " + std::to_string(failing));
          }
        }
        // Without a helper a failing first half ends the job there.
        EXPECT_EQ(ran[0], 1);
        EXPECT_EQ(ran[1], wanted || failing != 0 ? 1 : 0);
      }
    }
  }
}

}  // namespace
}  // namespace quirlex
