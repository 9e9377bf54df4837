// The signature hash table with both of its value types, sized as its
// callers size it (1.2 times the keys), with realistic keys: signatures of
// deep-word-list members. Filling includes allocating the table; look-ups
// probe in random order, once with keys that are all present and once with
// keys of other members that are (almost all) absent.
#include <benchmark/benchmark.h>

#include <map>
#include <utility>
#include <vector>

#include "bench_inputs.h"
#include "index/signature_table.h"
#include "index/variant_code.h"
#include "text/token_list.h"
#include "text/word_token.h"

namespace quirlex::bench {
namespace {

const std::vector<double>& keys(std::size_t count, bool others) {
  static std::map<std::pair<std::size_t, bool>, std::vector<double>> cache;
  auto [it, added] = cache.try_emplace({count, others});
  if (added) it->second = member_signatures(count, others);
  return it->second;
}

// Tokens of member texts, as a list with signatures hands them out.
const std::vector<WordToken>& tokens(std::size_t count) {
  static std::map<std::size_t, std::pair<TokenList, std::vector<WordToken>>> cache;
  auto [it, added] = cache.try_emplace(count);
  if (added) {
    TokenList& list = it->second.first;
    list.set_signatures(true);
    for (const std::string& text : member_texts(count)) list.append(text);
    for (std::int32_t i = 0; i < list.size(); ++i) it->second.second.push_back(list.element(i));
  }
  return it->second.second;
}

void BM_VariantTableFill(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const std::vector<double>& key_list = keys(n, false);
  for (auto _ : state) {
    SignatureTable<VariantCode> table;
    table.size_for(n);
    VariantCode code = 0;
    for (const double key : key_list) table.value_for(key) = code++;
    benchmark::DoNotOptimize(table.entry_count());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}
BENCHMARK(BM_VariantTableFill)
    ->Arg(1 << 20)
    ->Arg(1 << 22)
    ->Arg(1 << 24)
    ->Unit(benchmark::kMillisecond);

void variant_look_up(benchmark::State& state, bool misses) {
  const auto n = static_cast<std::size_t>(state.range(0));
  SignatureTable<VariantCode> table;
  table.size_for(n);
  VariantCode code = 0;
  for (const double key : keys(n, false)) table.value_for(key) = code++;
  const std::vector<double>& probes = keys(n, misses);
  std::int64_t found = 0;
  for (auto _ : state) {
    for (const double key : probes) {
      const VariantCode* value = table.find(key);
      benchmark::DoNotOptimize(value);
      found += value != nullptr;
    }
  }
  state.counters["found"] =
      benchmark::Counter(static_cast<double>(found) / static_cast<double>(state.iterations() * n));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

void BM_VariantTableLookUpHit(benchmark::State& state) {
  variant_look_up(state, false);
}
BENCHMARK(BM_VariantTableLookUpHit)
    ->Arg(1 << 20)
    ->Arg(1 << 22)
    ->Arg(1 << 24)
    ->Unit(benchmark::kMillisecond);

void BM_VariantTableLookUpMiss(benchmark::State& state) {
  variant_look_up(state, true);
}
BENCHMARK(BM_VariantTableLookUpMiss)
    ->Arg(1 << 20)
    ->Arg(1 << 22)
    ->Arg(1 << 24)
    ->Unit(benchmark::kMillisecond);

// As the lexicon table is filled: a copy of each word token under its signature.
void BM_LexiconTableFill(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const std::vector<WordToken>& values = tokens(n);
  for (auto _ : state) {
    SignatureTable<WordToken> table;
    table.size_for(n);
    for (const WordToken& token : values) table.value_for(token.signature) = token;
    benchmark::DoNotOptimize(table.entry_count());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}
BENCHMARK(BM_LexiconTableFill)->Arg(1 << 20)->Arg(1 << 22)->Unit(benchmark::kMillisecond);

void lexicon_look_up(benchmark::State& state, bool misses) {
  const auto n = static_cast<std::size_t>(state.range(0));
  SignatureTable<WordToken> table;
  table.size_for(n);
  for (const WordToken& token : tokens(n)) table.value_for(token.signature) = token;
  const std::vector<double>& probes = keys(n, misses);
  std::int64_t found = 0;
  for (auto _ : state) {
    for (const double key : probes) {
      const WordToken* value = table.find(key);
      benchmark::DoNotOptimize(value);
      found += value != nullptr;
    }
  }
  state.counters["found"] =
      benchmark::Counter(static_cast<double>(found) / static_cast<double>(state.iterations() * n));
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}

void BM_LexiconTableLookUpHit(benchmark::State& state) {
  lexicon_look_up(state, false);
}
BENCHMARK(BM_LexiconTableLookUpHit)->Arg(1 << 20)->Arg(1 << 22)->Unit(benchmark::kMillisecond);

void BM_LexiconTableLookUpMiss(benchmark::State& state) {
  lexicon_look_up(state, true);
}
BENCHMARK(BM_LexiconTableLookUpMiss)->Arg(1 << 20)->Arg(1 << 22)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quirlex::bench
