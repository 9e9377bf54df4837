// How much of the source text the restored text reproduces, counted in
// bytes of the tokens at equal positions.
#pragma once

#include <cstdint>

#include "text/token_list.h"

namespace quirlex {

struct Accuracy {
  std::int64_t correct = 0;  // bytes of source tokens reproduced exactly
  std::int64_t total = 0;    // bytes of all compared source tokens
  int percentage = 0;        // correct * 100 / total, truncated; 0 for no total
};

// Compares source token j with restored token j for every j below both the
// source size and the restored size minus one (the restored list's last token
// never takes part). Lengths are the source tokens'.
Accuracy measure_accuracy(const TokenList& source, const TokenList& restored);

}  // namespace quirlex
