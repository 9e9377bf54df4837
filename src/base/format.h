// printf-style formatting of the program's report and progress lines into
// byte strings.
#pragma once

#include <cstdint>
#include <string>

namespace quirlex {

// `pattern` with its one %i replaced by `value` in decimal.
std::string format_int(const char* pattern, std::int64_t value);

}  // namespace quirlex
