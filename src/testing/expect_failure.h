// Checks that an action fails with a given Failure type and exact message.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <typeinfo>

#include "base/failure.h"

namespace quirlex::testing {

// Use as EXPECT_TRUE(FailsWith<InvalidArgument>([&] { ... }, "message")).
template <typename ExpectedFailure, typename Action>
::testing::AssertionResult FailsWith(Action&& action, std::string_view message) {
  try {
    action();
  } catch (const ExpectedFailure& failure) {
    if (failure.message() == message) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "failed with \"" << failure.message() << "\" instead of \"" << message << "\"";
  } catch (const std::exception& other) {
    return ::testing::AssertionFailure() << "threw " << typeid(other).name() << " (\""
                                         << other.what() << "\") instead of the expected type";
  }
  return ::testing::AssertionFailure() << "did not fail; expected \"" << message << "\"";
}

}  // namespace quirlex::testing
