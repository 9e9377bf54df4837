// The signature of typical words of running text, alone and as part of
// making a word token from text.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_inputs.h"
#include "text/signature.h"
#include "text/tokenizer.h"
#include "text/word_token.h"

namespace quirlex::bench {
namespace {

// The words of a stretch of running text, in text order (so short frequent
// words and long rare ones mix as they do in a real text).
const std::vector<std::string>& text_words() {
  static const std::vector<std::string> words = [] {
    TokenList tokens;
    tokenize(running_text(256 * 1024), tokens, {.drop_separators = true, .signatures = false});
    std::vector<std::string> texts;
    for (std::int32_t i = 0; i < tokens.size(); ++i) {
      if (tokens.text(i).size() >= 2) texts.emplace_back(tokens.text(i));
    }
    return texts;
  }();
  return words;
}

std::int64_t total_bytes(const std::vector<std::string>& words) {
  std::int64_t bytes = 0;
  for (const std::string& word : words) bytes += static_cast<std::int64_t>(word.size());
  return bytes;
}

void BM_SignatureOf(benchmark::State& state) {
  const std::vector<std::string>& words = text_words();
  for (auto _ : state) {
    for (const std::string& word : words) benchmark::DoNotOptimize(signature_of(word));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(words.size()));
  state.SetBytesProcessed(state.iterations() * total_bytes(words));
}
BENCHMARK(BM_SignatureOf);

void BM_SignatureOfLexiconWords(benchmark::State& state) {
  const std::vector<std::string> words = lexicon_sample(100000);
  for (auto _ : state) {
    for (const std::string& word : words) benchmark::DoNotOptimize(signature_of(word));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(words.size()));
  state.SetBytesProcessed(state.iterations() * total_bytes(words));
}
BENCHMARK(BM_SignatureOfLexiconWords);

// A token as a list with signatures hands it out: its view, letter mask and
// signature, made from the list's buffer.
void BM_ElementOfASignedList(benchmark::State& state) {
  const std::vector<std::string>& words = text_words();
  TokenList list;
  list.set_signatures(true);
  for (const std::string& word : words) list.append(word);
  for (auto _ : state) {
    for (std::int32_t i = 0; i < list.size(); ++i) {
      WordToken token = list.element(i);
      benchmark::DoNotOptimize(token);
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(words.size()));
  state.SetBytesProcessed(state.iterations() * total_bytes(words));
}
BENCHMARK(BM_ElementOfASignedList);

}  // namespace
}  // namespace quirlex::bench
