// Translate's restoring pass and Shuffle's scrambling pass over a few
// megabytes of running text, with the whole German and English lexicon and,
// for Deep Search, a variant table of 3 prefixes and 10 suffixes.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_inputs.h"
#include "index/deep_word_list.h"
#include "scramble/scramble.h"
#include "text/tokenizer.h"
#include "unscramble/compound_index.h"
#include "unscramble/compound_search.h"
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
    benchmark::DoNotOptimize(restored.join().data());
    state.PauseTiming();
    restored = TokenList();  // releasing the copy is not what is measured
    state.ResumeTiming();
  }
  state.counters["tokens"] = static_cast<double>(scrambled_tokens().size());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kTextBytes));
}
BENCHMARK(BM_RestoreWords)->Arg(0)->Arg(1)->ArgName("deep")->Unit(benchmark::kMillisecond);

// Translate with Deep Search and then Compound Search, to set beside
// BM_RestoreWords/deep:1; the index is built once, as Load Dictionary would.
void BM_RestoreWordsAndCompounds(benchmark::State& state) {
  const Dictionary& d = dictionary();
  static const CompoundIndex index(d.words);
  std::int64_t compounds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    TokenList restored = scrambled_tokens();
    state.ResumeTiming();
    restore_words(restored, d, true);
    compounds = restore_compounds(restored, d, index);
    benchmark::DoNotOptimize(restored.join().data());
    state.PauseTiming();
    restored = TokenList();
    state.ResumeTiming();
  }
  state.counters["compounds"] = static_cast<double>(compounds);
  state.counters["index_MB"] = static_cast<double>(index.memory_bytes()) / 1e6;
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kTextBytes));
}
BENCHMARK(BM_RestoreWordsAndCompounds)->Unit(benchmark::kMillisecond);

void BM_ShuffleTokens(benchmark::State& state) {
  TokenList scrambled;
  for (auto _ : state) {
    RandomGenerator generator;
    shuffle_tokens(source_tokens(), scrambled, generator);
    benchmark::DoNotOptimize(scrambled.join().data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kTextBytes));
}
BENCHMARK(BM_ShuffleTokens)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quirlex::bench
