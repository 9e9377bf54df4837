#include "unscramble/accuracy_report.h"

#include <algorithm>

namespace quirlex {

Accuracy measure_accuracy(const TokenList& source, const TokenList& restored) {
  Accuracy accuracy;
  const std::int64_t compared =
      std::min<std::int64_t>(source.size(), std::int64_t{restored.size()} - 1);
  std::int64_t wrong = 0;
  for (std::int64_t j = 0; j < compared; ++j) {
    const std::string_view expected = source.text(j);
    const std::string_view actual = restored.text(j);
    const auto length = static_cast<std::int64_t>(expected.size());
    (expected == actual ? accuracy.correct : wrong) += length;
  }
  accuracy.total = accuracy.correct + wrong;
  // A 64-bit product, so texts of any size report correctly.
  if (accuracy.total != 0)
    accuracy.percentage = static_cast<int>(accuracy.correct * 100 / accuracy.total);
  return accuracy;
}

}  // namespace quirlex
