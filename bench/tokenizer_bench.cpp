// Splitting a large text into tokens: as Load does (separators kept,
// signatures computed) and as the lexicon reader does (separators dropped,
// signatures suppressed); and shuffling the tokens of a large text.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_inputs.h"
#include "scramble/random_generator.h"
#include "scramble/scramble.h"
#include "text/signature.h"
#include "text/tokenizer.h"

namespace quirlex::bench {
namespace {

constexpr std::size_t kTextBytes = 4 * 1024 * 1024;

const std::string& large_text() {
  static const std::string text = running_text(kTextBytes);
  return text;
}

void BM_TokenizeText(benchmark::State& state) {
  const std::string& text = large_text();
  TokenList tokens;
  for (auto _ : state) {
    // The tokenizer takes its text by value; the copy is not what is measured.
    state.PauseTiming();
    std::string copy = text;
    state.ResumeTiming();
    tokenize(std::move(copy), tokens, {});
    benchmark::DoNotOptimize(tokens.join().data());
  }
  state.counters["tokens"] = static_cast<double>(tokens.size());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_TokenizeText)->Unit(benchmark::kMillisecond);

void BM_TokenizeWordsOnlySuppressed(benchmark::State& state) {
  const std::string& text = large_text();
  TokenList tokens;
  for (auto _ : state) {
    state.PauseTiming();
    std::string copy = text;
    state.ResumeTiming();
    tokenize(std::move(copy), tokens, {.drop_separators = true, .signatures = false});
    benchmark::DoNotOptimize(tokens.join().data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_TokenizeWordsOnlySuppressed)->Unit(benchmark::kMillisecond);

void BM_ShuffleText(benchmark::State& state) {
  TokenList text;
  tokenize(large_text(), text, {});
  TokenList tokens;
  for (auto _ : state) {
    state.PauseTiming();
    tokens.assign_copy(text);
    state.ResumeTiming();
    RandomGenerator generator;
    shuffle_in_place(tokens, generator);
    benchmark::DoNotOptimize(tokens.join().data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.join().size()));
}
BENCHMARK(BM_ShuffleText)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quirlex::bench
