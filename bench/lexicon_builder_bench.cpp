// Create Dictionary's work on a corpus of running text: collecting the
// distinct words of four bytes or more, sorting them, and front-coding them.
#include <benchmark/benchmark.h>

#include <string>

#include "bench_inputs.h"
#include "lexicon/lexicon_builder.h"
#include "text/text_stream.h"

namespace quirlex::bench {
namespace {

constexpr std::size_t kCorpusBytes = 16 * 1024 * 1024;

const std::string& corpus() {
  static const std::string text = running_text(kCorpusBytes);
  return text;
}

// The builder folds the pieces it is handed in place; copying them is part
// of reading a corpus, and so measured.
void collect(LexiconBuilder& builder) {
  const TextPieces pieces = pieces_of(corpus(), TextStream::kDefaultPieceSize);
  for (std::string piece; pieces(piece);) builder.add_text(piece);
  builder.finish();
  builder.put_in_order(LexiconOrder::kText);
}

void BM_LexiconBuilderCollect(benchmark::State& state) {
  std::size_t words = 0;
  for (auto _ : state) {
    LexiconBuilder builder;
    collect(builder);
    words = builder.word_count();
    benchmark::DoNotOptimize(words);
  }
  state.counters["words"] = static_cast<double>(words);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kCorpusBytes));
}
BENCHMARK(BM_LexiconBuilderCollect)->Unit(benchmark::kMillisecond);

void BM_LexiconBuilderCollectSort(benchmark::State& state) {
  for (auto _ : state) {
    LexiconBuilder builder;
    collect(builder);
    builder.put_in_order(LexiconOrder::kSorted);
    benchmark::DoNotOptimize(builder.word(0).data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kCorpusBytes));
}
BENCHMARK(BM_LexiconBuilderCollectSort)->Unit(benchmark::kMillisecond);

void BM_LexiconBuilderEncode(benchmark::State& state) {
  LexiconBuilder builder;
  collect(builder);
  builder.put_in_order(LexiconOrder::kSorted);
  for (auto _ : state) {
    TokenList entries = builder.encode();
    benchmark::DoNotOptimize(entries.join().data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(builder.word_count()));
}
BENCHMARK(BM_LexiconBuilderEncode)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quirlex::bench
