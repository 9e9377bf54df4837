// Translate's restoring pass and Shuffle's scrambling pass over a few
// megabytes of running text, with the whole German and English lexicon and,
// for Deep Search, a variant table of 3 prefixes and 10 suffixes.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_inputs.h"
#include "index/deep_word_list.h"
#include "scramble/scramble.h"
#include "text/tokenizer.h"
#include "unscramble/unscrambler.h"

namespace quirlex::bench {
namespace {

constexpr std::size_t kTextBytes = 4 * 1024 * 1024;

const TokenList& source_tokens() {
  static const TokenList tokens = [] {
    TokenList list;
    tokenize(running_text(kTextBytes), list, {});
    return list;
  }();
  return tokens;
}

const TokenList& scrambled_tokens() {
  static const TokenList tokens = [] {
    TokenList list;
    RandomGenerator generator;
    shuffle_tokens(source_tokens(), list, generator);
    return list;
  }();
  return tokens;
}

const Dictionary& dictionary() {
  static const Dictionary d = [] {
    Dictionary made = make_dictionary(lexicon_words().size(), 3, 10);
    build_deep_word_list(made, [](int) {});
    return made;
  }();
  return d;
}

void BM_RestoreWords(benchmark::State& state) {
  const bool deep_search = state.range(0) != 0;
  const Dictionary& d = dictionary();
  for (auto _ : state) {
    state.PauseTiming();
    TokenList restored = scrambled_tokens();
    state.ResumeTiming();
    restore_words(restored, d, deep_search);
    benchmark::DoNotOptimize(restored.tokens().data());
    state.PauseTiming();
    restored = TokenList();  // releasing the copy is not what is measured
    state.ResumeTiming();
  }
  state.counters["tokens"] = static_cast<double>(scrambled_tokens().size());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kTextBytes));
}
BENCHMARK(BM_RestoreWords)->Arg(0)->Arg(1)->ArgName("deep")->Unit(benchmark::kMillisecond);

void BM_ShuffleTokens(benchmark::State& state) {
  TokenList scrambled;
  for (auto _ : state) {
    RandomGenerator generator;
    shuffle_tokens(source_tokens(), scrambled, generator);
    benchmark::DoNotOptimize(scrambled.tokens().data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kTextBytes));
}
BENCHMARK(BM_ShuffleTokens)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quirlex::bench
