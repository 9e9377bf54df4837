#include "base/format.h"

#include <string_view>

namespace quirlex {

std::string format_int(const char* pattern, std::int64_t value) {
  const std::string_view text(pattern);
  const auto at = text.find("%i");
  std::string result(text.substr(0, at));
  if (at == std::string_view::npos) return result;
  result += std::to_string(value);
  result += text.substr(at + 2);
  return result;
}

}  // namespace quirlex
