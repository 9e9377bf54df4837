// Restores one scrambled text mode by mode with lexicons built from a corpus
// and prints, per mode, the share of characters restored (as the accuracy
// report counts them) and the time of each step, then the words the last
// mode still gets wrong, grouped by cause. Run by bench/quality/run.
//
// quirlex-quality CORPUS SOURCE SCRAMBLED PREFIXES SUFFIXES
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "index/load_dictionary.h"
#include "index/dictionary.h"
#include "lexicon/bigram_file.h"
#include "lexicon/create_dictionary.h"
#include "lexicon/lexicon_builder.h"
#include "lexicon/lexicon_codec.h"
#include "text/case_map.h"
#include "text/text_file.h"
#include "text/text_stream.h"
#include "text/token_writer.h"
#include "text/tokenizer.h"
#include "unscramble/accuracy_report.h"
#include "unscramble/compound_index.h"
#include "unscramble/compound_search.h"
#include "unscramble/context_choice.h"
#include "unscramble/unscrambler.h"

namespace quirlex {
namespace {

using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string read_text(const char* path) {
  TextFile file;
  if (!file.read(path)) {
    std::fprintf(stderr, "cannot read %s\n", path);
    std::exit(1);
  }
  return file.take_content();
}

TokenList tokens_of(std::string text) {
  TokenList list;
  tokenize(std::move(text), list, {});
  return list;
}

std::string upper(std::string text) {
  for (char& c : text) c = upper_char(c);
  return text;
}

// The dictionary as Load Dictionary makes it from the builder's lexicon in
// its present order, the affix files read upper-cased as the window reads them.
Dictionary load(const LexiconBuilder& builder, const char* prefixes, const char* suffixes,
                bool deep) {
  std::string file;
  put_tokens(builder.encode(), "\n", [&file](std::string_view bytes) { file += bytes; });
  Dictionary dictionary;
  const DictionaryReport report =
      load_dictionary(dictionary, {std::move(file), deep, upper(read_text(suffixes)),
                                   upper(read_text(prefixes))},
                      [](LoadStage, int) {});
  if (deep && report.deep_search != DeepSearchOutcome::kBuilt) {
    std::fprintf(stderr, "Deep Search refused for these affix lists\n");
    std::exit(1);
  }
  return dictionary;
}

double percent(const Accuracy& a) {
  return a.total == 0 ? 0.0 : 100.0 * static_cast<double>(a.correct) / static_cast<double>(a.total);
}

// Whether `word` is two lexicon words joined, with or without a linking S.
bool is_compound(const std::string& word, const std::unordered_set<std::string>& lexicon) {
  const std::string w = upper(word);
  for (std::size_t cut = 4; cut + 4 <= w.size(); ++cut) {
    if (lexicon.count(w.substr(0, cut)) == 0) continue;
    if (lexicon.count(w.substr(cut)) != 0) return true;
    if (w[cut] == 'S' && cut + 5 <= w.size() && lexicon.count(w.substr(cut + 1)) != 0) return true;
  }
  return false;
}

void print_causes(const TokenList& source, const TokenList& scrambled, const TokenList& restored,
                  const std::unordered_set<std::string>& lexicon, std::int64_t total) {
  struct Cause {
    std::int64_t chars = 0, words = 0;
    std::map<std::string, int> examples;
  };
  std::map<std::string, Cause> causes;
  const std::int32_t n = std::min(source.size(), restored.size() - 1);
  for (std::int32_t j = 0; j < n; ++j) {
    const std::string want(source.text(j));
    const std::string_view got = restored.text(j);
    if (want == got) continue;
    const bool unchanged = got == scrambled.text(j);
    std::string cause;
    if (lexicon.count(upper(want)) != 0) {
      cause = unchanged ? "in the lexicon, not restored" : "a tie (another word of its signature)";
    } else if (is_compound(want, lexicon)) {
      cause = unchanged ? "a compound missed" : "a compound (or variant) chosen wrongly";
    } else {
      cause = unchanged ? "not in the corpus, left scrambled" : "not in the corpus, restored wrongly";
    }
    Cause& c = causes[cause];
    c.chars += static_cast<std::int64_t>(want.size());
    ++c.words;
    ++c.examples[want + (unchanged ? "" : " -> " + std::string(got))];
  }
  std::printf("\nwords still wrong with everything on, by cause (share of all characters):\n");
  for (const auto& [name, c] : causes) {
    std::vector<std::pair<int, std::string>> top;
    for (const auto& [example, count] : c.examples) top.emplace_back(-count, example);
    std::sort(top.begin(), top.end());
    std::printf("  %-42s %6.2f %%  %5lld words  e.g.", name.c_str(),
                100.0 * static_cast<double>(c.chars) / static_cast<double>(total),
                static_cast<long long>(c.words));
    for (std::size_t k = 0; k < top.size() && k < 6; ++k) std::printf(" %s;", top[k].second.c_str());
    std::printf("\n");
  }
}

int run(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s CORPUS SOURCE SCRAMBLED PREFIXES SUFFIXES\n", argv[0]);
    return 2;
  }
  const char* prefixes = argv[4];
  const char* suffixes = argv[5];
  const TokenList source = tokens_of(read_text(argv[2]));
  const TokenList scrambled = tokens_of(read_text(argv[3]));

  auto start = Clock::now();
  const std::string corpus = read_text(argv[1]);
  LexiconBuilder builder;
  {
    std::string piece = corpus;
    builder.add_text(piece);
  }
  builder.finish();
  builder.put_in_order(LexiconOrder::kText);
  const double collect_time = seconds_since(start);
  std::unordered_set<std::string> lexicon;
  for (std::size_t i = 0; i < builder.word_count(); ++i) lexicon.emplace(builder.word(i));
  std::printf("lexicon: %zu words (collected in %.3f s)\n\n", builder.word_count(), collect_time);

  start = Clock::now();
  builder.put_in_order(LexiconOrder::kSorted);
  const double sort_time = seconds_since(start);
  const Dictionary sorted = load(builder, prefixes, suffixes, false);
  start = Clock::now();
  builder.put_in_order(LexiconOrder::kFrequency);
  const double frequency_time = seconds_since(start);
  start = Clock::now();
  const Dictionary by_frequency = load(builder, prefixes, suffixes, true);
  const double deep_load_time = seconds_since(start);
  std::printf("ordering: sorted %.3f s, by frequency %.3f s; loading with Deep Search %.2f s\n\n",
              sort_time, frequency_time, deep_load_time);

  std::printf("%-40s %9s %10s\n", "mode", "restored", "time");
  const auto report = [&](const char* mode, const TokenList& restored, double time) {
    std::printf("%-40s %8.2f %% %8.1f ms\n", mode, percent(measure_accuracy(source, restored)),
                1000.0 * time);
  };
  {
    TokenList restored = scrambled;
    start = Clock::now();
    restore_words(restored, sorted, false);
    report("(a) sorted lexicon", restored, seconds_since(start));
  }
  {
    TokenList restored = scrambled;
    start = Clock::now();
    restore_words(restored, by_frequency, false);
    report("(b) frequency order", restored, seconds_since(start));
  }
  TokenList restored = scrambled;
  start = Clock::now();
  restore_words(restored, by_frequency, true);
  const double deep_time = seconds_since(start);
  report("(c) frequency order + Deep Search", restored, deep_time);
  start = Clock::now();
  const CompoundIndex index(by_frequency.words);
  const double index_time = seconds_since(start);
  start = Clock::now();
  const std::int64_t compounds = restore_compounds(restored, by_frequency, index);
  const double compound_time = seconds_since(start);
  report("(d) + Compound Search", restored, deep_time + compound_time);
  std::printf("\nCompound Search: %lld words, %.1f ms after the tables' %.1f ms (%.2fx);"
              " index built in %.1f ms, %.1f MB (lexicon table: %.1f MB)\n",
              static_cast<long long>(compounds), 1000.0 * compound_time, 1000.0 * deep_time,
              (deep_time + compound_time) / deep_time, 1000.0 * index_time,
              static_cast<double>(index.memory_bytes()) / 1e6,
              static_cast<double>(by_frequency.lexicon_table.bucket_count()) *
                  static_cast<double>(sizeof(double) + sizeof(WordToken)) / 1e6);

  // (e): the bigram model counted by each rule for short words, the file
  // kept within its budget.
  const TokenList entries = builder.encode();
  const std::uint64_t lexicon_bytes =
      entries.join().size() + static_cast<std::uint64_t>(entries.size());
  TokenList chosen;
  for (const ShortWords rule :
       {ShortWords::kSkipped, ShortWords::kBreakPairs, ShortWords::kCounted}) {
    start = Clock::now();
    const BigramModel model =
        BigramModel::count(builder, pieces_of(corpus, TextStream::kDefaultPieceSize), rule,
                           kMaxBigramSizeRatio * lexicon_bytes);
    const double count_time = seconds_since(start);
    start = Clock::now();
    const ContextChoice choice(by_frequency, model);
    const std::vector<PendingChoice> pending = choice.pending(scrambled);
    TokenList with_context = restored;
    const std::int64_t changed = choice.choose(with_context, pending);
    const double choice_time = seconds_since(start);
    std::int64_t fixed = 0, broken = 0;
    for (std::int32_t j = 0; j + 1 < with_context.size() && j < source.size(); ++j) {
      const std::string_view want = source.text(j);
      const bool before = restored.text(j) == want;
      const bool after = with_context.text(j) == want;
      fixed += !before && after;
      broken += before && !after;
    }
    report(rule == ShortWords::kSkipped      ? "(e) + bigrams (short words skipped)"
           : rule == ShortWords::kBreakPairs ? "(e) + bigrams (short words break)"
                                             : "(e) + bigrams (short words counted)",
           with_context, deep_time + compound_time + choice_time);
    std::printf("    model: %zu pairs of count >= %u, %zu short words, %.2f MB = %.2fx the lexicon file (%.2f MB);"
                " counted in %.2f s; %zu ties looked at, %lld changed (%lld right, %lld wrong) in %.1f ms\n",
                model.pairs().size(), model.min_count(), model.short_words().size(),
                static_cast<double>(bigram_file_size(model)) / 1e6,
                static_cast<double>(bigram_file_size(model)) / static_cast<double>(lexicon_bytes),
                static_cast<double>(lexicon_bytes) / 1e6, count_time, pending.size(),
                static_cast<long long>(changed), static_cast<long long>(fixed),
                static_cast<long long>(broken), 1000.0 * choice_time);
    if (rule == kBigramShortWords) chosen = std::move(with_context);
  }
  print_causes(source, scrambled, chosen, lexicon, measure_accuracy(source, chosen).total);
  return 0;
}

}  // namespace
}  // namespace quirlex

int main(int argc, char** argv) { return quirlex::run(argc, argv); }
