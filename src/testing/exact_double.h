// A GoogleTest predicate formatter that compares two doubles bit for bit, for
// values that must come out exactly the same on every machine. On failure it
// prints both values with all their digits and their bit patterns.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>

namespace quirlex::testing {

inline std::string describe_double(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.17g (0x%016llX)", value,
                static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(value)));
  return text;
}

// Use as EXPECT_PRED_FORMAT2(SameDouble, actual, expected).
inline ::testing::AssertionResult SameDouble(const char* actual_expression,
                                             const char* expected_expression, double actual,
                                             double expected) {
  if (std::bit_cast<std::uint64_t>(actual) == std::bit_cast<std::uint64_t>(expected)) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << actual_expression << " is " << describe_double(actual) << ", but "
         << expected_expression << " is " << describe_double(expected);
}

}  // namespace quirlex::testing
