#include "text/case_map.h"

namespace quirlex {

void upper_case(std::span<char> text) {
  for (char& c : text) c = upper_char(c);
}

void lower_case(std::span<char> text) {
  for (char& c : text) c = lower_char(c);
}

}  // namespace quirlex
