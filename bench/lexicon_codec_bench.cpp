// The lexicon file's front coding over the whole German and English lexicon:
// encoding, decoding, and reading a lexicon file's text into words with
// signatures.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_inputs.h"
#include "lexicon/lexicon_codec.h"

namespace quirlex::bench {
namespace {

std::vector<std::string> encode_all(const std::vector<std::string>& words) {
  LexiconEncoder encoder;
  std::vector<std::string> entries;
  entries.reserve(words.size());
  for (const std::string& word : words) entries.push_back(encoder.encode(word));
  return entries;
}

std::string file_text(const std::vector<std::string>& entries) {
  std::string text;
  for (const std::string& entry : entries) {
    text += entry;
    text += '\n';
  }
  return text;
}

void BM_LexiconEncode(benchmark::State& state) {
  const std::vector<std::string>& words = lexicon_words();
  for (auto _ : state) {
    LexiconEncoder encoder;
    for (const std::string& word : words) {
      std::string entry = encoder.encode(word);
      benchmark::DoNotOptimize(entry.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(words.size()));
}
BENCHMARK(BM_LexiconEncode)->Unit(benchmark::kMillisecond);

void BM_LexiconDecode(benchmark::State& state) {
  const std::vector<std::string> entries = encode_all(lexicon_words());
  for (auto _ : state) {
    LexiconDecoder decoder;
    for (const std::string& entry : entries) {
      const std::string_view word = decoder.decode(entry);
      benchmark::DoNotOptimize(word.data());
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(entries.size()));
}
BENCHMARK(BM_LexiconDecode)->Unit(benchmark::kMillisecond);

void BM_ReadLexiconWords(benchmark::State& state) {
  const std::string text = file_text(encode_all(lexicon_words()));
  TokenList words;
  for (auto _ : state) {
    state.PauseTiming();
    std::string copy = text;
    state.ResumeTiming();
    read_lexicon_words(std::move(copy), words);
    benchmark::DoNotOptimize(words.join().data());
  }
  state.SetItemsProcessed(state.iterations() * words.size());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReadLexiconWords)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quirlex::bench
