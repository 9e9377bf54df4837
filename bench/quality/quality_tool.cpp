// Restores one scrambled text mode by mode with lexicons built from a corpus
// and prints, per mode, the share of characters restored (as the accuracy
// report counts them) and the time of each step, then the words the last
// mode still gets wrong, grouped by cause. Run by bench/quality/run.
//
// quirlex-quality CORPUS SOURCE SCRAMBLED PREFIXES SUFFIXES
//
// Two more forms measure what a whole run costs, as a front end would make
// it: the dictionary's files from a corpus (lexicon in frequency order,
// bigram model, letter model), and one translate run with Deep Search alone
// or with every best step:
//
// quirlex-quality create CORPUS LEXICON
// quirlex-quality translate LEXICON SCRAMBLED SOURCE PREFIXES SUFFIXES [--best]
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/dictionary_files.h"
#include "index/dictionary.h"
#include "index/load_dictionary.h"
#include "lexicon/bigram_file.h"
#include "lexicon/bigram_model.h"
#include "lexicon/create_dictionary.h"
#include "lexicon/letter_model.h"
#include "lexicon/letter_model_file.h"
#include "lexicon/lexicon_builder.h"
#include "lexicon/lexicon_codec.h"
#include "lexicon/spelling_counter.h"
#include "text/case_map.h"
#include "text/text_file.h"
#include "text/text_stream.h"
#include "text/token_writer.h"
#include "text/tokenizer.h"
#include "unscramble/accuracy_report.h"
#include "unscramble/compound_index.h"
#include "unscramble/translate.h"
#include "unscramble/unknown_words.h"

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

std::string file_of(const TokenList& entries) {
  std::string file;
  put_tokens(entries, "\n", [&file](std::string_view bytes) { file += bytes; });
  return file;
}

// The dictionary as Load Dictionary makes it from a lexicon file's text, the
// affix files read upper-cased as the window reads them.
Dictionary load(std::string file, const char* prefixes, const char* suffixes, bool deep) {
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
    if (upper(want) == upper(std::string(got))) {
      cause = "capitals only";
    } else if (lexicon.count(upper(want)) != 0) {
      cause = unchanged ? "in the lexicon, not restored" : "a tie (another word of its letters)";
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
    for (std::size_t k = 0; k < top.size() && k < 8; ++k) std::printf(" %s;", top[k].second.c_str());
    std::printf("\n");
  }
}

// How the compounds weighed against the letter model come out for other
// margins: the words right for each, as the source has them.
void print_weighing(const std::vector<UnknownWordChoice>& choices, const TokenList& source,
                    const TokenList& restored, const CompoundWeighing& used) {
  std::int64_t both = 0, compound_only = 0, model_only = 0, neither = 0;
  struct Row {
    double compound_score, model_score;
    std::int64_t occurrences;
    bool compound_right, model_right;
  };
  std::vector<Row> rows;
  for (const UnknownWordChoice& c : choices) {
    if (c.compound.empty()) continue;
    const std::string want = upper(std::string(source.text(c.first_position)));
    (void)restored;
    const bool compound_right = want == c.compound;
    const bool model_right = want == c.model;
    both += compound_right && model_right ? c.occurrences : 0;
    compound_only += compound_right && !model_right ? c.occurrences : 0;
    model_only += model_right && !compound_right ? c.occurrences : 0;
    neither += !model_right && !compound_right ? c.occurrences : 0;
    rows.push_back({c.compound_score, c.model_score, c.occurrences, compound_right, model_right});
  }
  std::printf("    compounds weighed: %lld occurrences, compound right only %lld, model right only %lld,"
              " both %lld, neither %lld\n",
              static_cast<long long>(both + compound_only + model_only + neither),
              static_cast<long long>(compound_only), static_cast<long long>(model_only),
              static_cast<long long>(both), static_cast<long long>(neither));
  std::printf("    words right by margin (used %.1f):", used.margin);
  for (const double margin : {0.0, 2.0, 4.0, 6.0, 8.0, 10.0, 14.0, 20.0, 1e9}) {
    std::int64_t right = 0;
    for (const Row& r : rows) {
      const bool take = r.compound_score + margin >= r.model_score;
      right += (take ? r.compound_right : r.model_right) ? r.occurrences : 0;
    }
    std::printf(" %g: %lld", margin, static_cast<long long>(right));
  }
  std::printf("\n");
}

int run_modes(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s CORPUS SOURCE SCRAMBLED PREFIXES SUFFIXES\n", argv[0]);
    return 2;
  }
  const char* prefixes = argv[4];
  const char* suffixes = argv[5];
  const TokenList source = tokens_of(read_text(argv[2]));
  const TokenList scrambled = tokens_of(read_text(argv[3]));
  const std::string corpus = read_text(argv[1]);

  // The default lexicon: sorted, words as the tokenizer cuts them.
  auto start = Clock::now();
  LexiconBuilder sorted_builder;
  {
    std::string piece = corpus;
    sorted_builder.add_text(piece);
  }
  sorted_builder.finish();
  sorted_builder.put_in_order(LexiconOrder::kSorted);
  const double sorted_time = seconds_since(start);
  const Dictionary sorted = load(file_of(sorted_builder.encode()), prefixes, suffixes, false);

  // The best lexicon: in frequency order, words as a reader sees them, with
  // the spellings of words with capitals inside.
  start = Clock::now();
  LexiconBuilder builder;
  builder.trim_word_ends();
  SpellingCounter spelling_counter;
  {
    std::string piece = corpus;
    spelling_counter.add(piece);
    builder.add_text(piece);
  }
  builder.finish();
  builder.put_in_order(LexiconOrder::kFrequency);
  const double frequency_time = seconds_since(start);
  std::unordered_set<std::string> lexicon;
  for (std::size_t i = 0; i < builder.word_count(); ++i) lexicon.emplace(builder.word(i));
  const TokenList entries = builder.encode();
  const std::uint64_t lexicon_bytes =
      entries.join().size() + static_cast<std::uint64_t>(entries.size());
  start = Clock::now();
  const Dictionary by_frequency = load(file_of(entries), prefixes, suffixes, true);
  const double deep_load_time = seconds_since(start);
  std::printf("lexicon: %zu words sorted (%.2f s), %zu in frequency order (%.2f s);"
              " loading with Deep Search %.2f s\n",
              sorted_builder.word_count(), sorted_time, builder.word_count(), frequency_time,
              deep_load_time);

  start = Clock::now();
  const BigramModel bigrams =
      BigramModel::count(builder, pieces_of(corpus, TextStream::kDefaultPieceSize),
                         kBigramShortWords, kMaxBigramSizeRatio * lexicon_bytes);
  const double bigram_time = seconds_since(start);
  start = Clock::now();
  std::vector<Spelling> spellings = spelling_counter.finish();
  const std::size_t spelling_count = spellings.size();
  const LetterModel letters = LetterModel::count(builder, std::move(spellings));
  const double letter_time = seconds_since(start);
  const std::string letter_file = letter_model_file_bytes(letters);
  std::printf("bigram model: %.2f MB = %.2fx the lexicon file (%.2f MB), counted in %.2f s\n",
              static_cast<double>(bigram_file_size(bigrams)) / 1e6,
              static_cast<double>(bigram_file_size(bigrams)) / static_cast<double>(lexicon_bytes),
              static_cast<double>(lexicon_bytes) / 1e6, bigram_time);
  std::printf("letter model: order %d, %zu grams, %zu spellings; file %.2f MB = %.2fx the lexicon file,"
              " %.1f MB in memory, counted in %.2f s\n\n",
              letters.order(), letters.grams().size(), spelling_count,
              static_cast<double>(letter_file.size()) / 1e6,
              static_cast<double>(letter_file.size()) / static_cast<double>(lexicon_bytes),
              static_cast<double>(letters.memory_bytes()) / 1e6, letter_time);

  std::printf("%-52s %9s %10s\n", "mode", "restored", "time");
  TokenList last;
  const auto mode = [&](const char* name, const Dictionary& dictionary,
                        const TranslateOptions& options) {
    TokenList restored = scrambled;
    const auto begin = Clock::now();
    const TranslateResult result = translate(restored, source, dictionary, options);
    const double time = seconds_since(begin);
    std::printf("%-52s %8.2f %% %8.1f ms", name, percent(result.accuracy), 1000.0 * time);
    if (options.compounds) std::printf("  compounds %lld", static_cast<long long>(result.compounds));
    if (options.context) std::printf(", context %lld", static_cast<long long>(result.context));
    if (options.unknown) {
      std::printf(", letter model %lld, declined %lld", static_cast<long long>(result.unknown),
                  static_cast<long long>(result.declined));
    }
    std::printf("\n");
    last = std::move(restored);
  };
  TranslateOptions options;
  mode("(a) sorted lexicon", sorted, options);
  mode("(b) frequency order", by_frequency, options);
  options.deep_search = true;
  mode("(c) + Deep Search (--deep)", by_frequency, options);
  options.compounds = true;
  mode("(d) + Compound Search (--compounds)", by_frequency, options);
  options.context = &bigrams;
  mode("(e) + bigrams (--bigrams, --context)", by_frequency, options);
  options.reader_words = true;
  options.letters = &letters;
  mode("(f) + words as a reader sees them", by_frequency, options);
  options.unknown = true;
  mode("(g) + letter model for unknown words", by_frequency, options);
  options.weigh_compounds = true;
  mode("(h) + compounds weighed against the letter model", by_frequency, options);
  {
    TokenList restored = scrambled;
    std::vector<UnknownWordChoice> choices;
    // The same step again, to see its choices.
    TranslateOptions before = options;
    before.unknown = false;
    before.compounds = false;
    before.context = nullptr;
    translate(restored, source, by_frequency, before);
    const WordsByLetters by_letters(by_frequency.words);
    const CompoundIndex index(by_frequency.words);
    restore_unknown_words(restored, by_frequency, letters, {by_letters, by_frequency.words, &letters}, &index,
                          options.weighing, &choices);
    print_weighing(choices, source, restored, options.weighing);
  }
  options.both_neighbours = true;
  mode("(i) + ties by both neighbours", by_frequency, options);
  print_causes(source, scrambled, last, lexicon, measure_accuracy(source, last).total);
  return 0;
}

// The dictionary's files of a corpus as Create Dictionary writes them with
// the frequency order and bigrams.
int run_create(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s create CORPUS LEXICON\n", argv[0]);
    return 2;
  }
  const LexiconBuild build =
      build_lexicon({{.path = argv[2]}},
                    {.order = LexiconOrder::kFrequency, .bigrams = true, .letters = true},
                    [](LexiconStage, int) {});
  if (build.unreadable) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  create_dictionary_files(build, argv[3]);
  return 0;
}

// One translate run as a front end makes it: the dictionary loaded with Deep
// Search, with --best also both models, then every step.
int run_translate(int argc, char** argv) {
  if (argc != 7 && !(argc == 8 && std::strcmp(argv[7], "--best") == 0)) {
    std::fprintf(stderr, "usage: %s translate LEXICON SCRAMBLED SOURCE PREFIXES SUFFIXES [--best]\n",
                 argv[0]);
    return 2;
  }
  const bool best = argc == 8;
  const auto start = Clock::now();
  DictionaryFiles files;
  if (!files.read_lexicon(argv[2]) || !files.read_prefixes(argv[5], ReadEncoding::kAuto) ||
      !files.read_suffixes(argv[6], ReadEncoding::kAuto)) {
    std::fprintf(stderr, "cannot read the dictionary's files\n");
    return 1;
  }
  Dictionary dictionary;
  const ModelFiles models = best ? ModelFiles::kRequired : ModelFiles::kNone;
  const LoadedDictionary loaded = load_dictionary_files(
      dictionary, std::move(files), {.deep_search = true, .bigrams = models, .letters = models},
      [](LoadStage, int) {});
  const std::optional<BigramModel>& bigrams = loaded.bigrams;
  const std::optional<LetterModel>& letters = loaded.letters;
  TokenList scrambled = tokens_of(read_text(argv[3]));
  const TokenList source = tokens_of(read_text(argv[4]));
  const TranslateOptions options =
      best ? best_translate_options(true, &*bigrams, &*letters) : TranslateOptions{.deep_search = true};
  const TranslateResult result = translate(scrambled, source, dictionary, options);
  std::printf("%.3f %% (%lld of %lld characters) in %.2f s\n", percent(result.accuracy), static_cast<long long>(result.accuracy.correct), static_cast<long long>(result.accuracy.total), seconds_since(start));
  return 0;
}

}  // namespace
}  // namespace quirlex

int main(int argc, char** argv) {
  try {
    if (argc > 1 && std::strcmp(argv[1], "create") == 0) return quirlex::run_create(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "translate") == 0) return quirlex::run_translate(argc, argv);
    return quirlex::run_modes(argc, argv);
  } catch (const quirlex::Failure& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
}
