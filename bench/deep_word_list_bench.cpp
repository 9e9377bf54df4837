// Generating and filing the deep word list: every prefix, word, suffix
// combination's signature and variant code into a freshly sized variant
// table.
#include <benchmark/benchmark.h>

#include "bench_inputs.h"
#include "index/deep_word_list.h"

namespace quirlex::bench {
namespace {

void BM_BuildDeepWordList(benchmark::State& state) {
  const auto words = static_cast<std::size_t>(state.range(0));
  const auto suffix_count = static_cast<std::size_t>(state.range(1));
  const auto prefix_count = static_cast<std::size_t>(state.range(2));
  Dictionary dictionary = make_dictionary(words, prefix_count, suffix_count);
  int percentages = 0;
  for (auto _ : state) {
    build_deep_word_list(dictionary, [&](int) { ++percentages; });
    benchmark::DoNotOptimize(dictionary.variant_table.entry_count());
  }
  const auto members = static_cast<std::int64_t>((prefix_count + 1) * (suffix_count + 1) * words);
  state.counters["members"] = static_cast<double>(members);
  state.counters["entries"] = static_cast<double>(dictionary.variant_table.entry_count());
  state.SetItemsProcessed(state.iterations() * members);
}
BENCHMARK(BM_BuildDeepWordList)
    ->Args({20000, 10, 3})
    ->Args({100000, 30, 5})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quirlex::bench
