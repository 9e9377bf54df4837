// Environment variables set (or unset) for the life of one object and put
// back as they were when it goes, for tests of what the environment names.
// The test process's children inherit the values meanwhile.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quirlex::testing {

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    // Last set, first put back: a name set twice ends as it began.
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) apply(it->first, it->second);
  }

  // Sets `name` to `value`, or unsets it for nothing.
  void set(const std::string& name, const std::optional<std::string>& value) {
    const char* before = std::getenv(name.c_str());
    saved_.emplace_back(name,
                        before == nullptr ? std::nullopt : std::optional<std::string>(before));
    apply(name, value);
  }

 private:
  static void apply(const std::string& name, const std::optional<std::string>& value) {
    value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
  }

  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace quirlex::testing
