#include "cli/commands.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/command_texts.h"
#include "app/dictionary_files.h"
#include "app/lexicon_locator.h"
#include "base/failure.h"
#include "base/version.h"
#include "cli/arguments.h"
#include "cli/console_output.h"
#include "cli/demo.h"
#include "cli/help.h"
#include "cli/progress_printer.h"
#include "scramble/random_generator.h"
#include "scramble/scramble.h"
#include "text/text_reading.h"
#include "unscramble/translate.h"

namespace quirlex::cli {
namespace {

int usage_error(const std::string& command, const std::string& text) {
  say(text);
  std::fprintf(stderr, "Try '%s%s%s --help'.\n", kProgram, command.empty() ? "" : " ",
               command.c_str());
  return kUsageError;
}

// The path a named input is read from: "-" is standard input.
std::string input_path(const std::string& name) {
  return name == "-" ? "/dev/stdin" : name;
}

// Standard input can be read once: names "-" at most once among `names`.
bool stdin_at_most_once(const std::vector<std::string>& names) {
  return std::count(names.begin(), names.end(), "-") <= 1;
}

// The encoding named by --encoding (default auto).
std::optional<ReadEncoding> chosen_encoding(const Arguments& args) {
  const auto name = args.value("--encoding");
  return name ? parse_read_encoding(*name) : ReadEncoding::kAuto;
}

constexpr const char* kEncodingError = "--encoding takes auto, utf-8 or windows-1252";

// Runs a subcommand's work; a failure that ends it is told in the program's
// name and ends the run with status 1.
template <typename Work>
int reporting_failures(Work&& work) {
  try {
    return failing_as_out_of_memory(work);
  } catch (const Failure& failure) {
    say(failure.message());
    return kFileFailure;
  }
}

// The words of four bytes or more that a Translate left as they were.
std::int64_t unrestored_words(const TokenList& restored) {
  std::int64_t count = 0;
  for (std::int32_t i = 0; i < restored.size(); ++i) {
    count += restored.separator(i) == 0 && restored.text(i).size() > 3;
  }
  return count;
}

int shuffle_command(const Arguments& args) {
  if (args.operands.size() != 1) return usage_error("shuffle", "shuffle needs one INPUT file");
  std::uint32_t seed = 1;
  if (const auto text = args.value("--seed")) {
    const auto parsed = parse_seed(*text);
    if (!parsed) return usage_error("shuffle", "--seed takes a number from 0 to 4294967295");
    seed = *parsed;
  }
  const auto encoding = chosen_encoding(args);
  if (!encoding) return usage_error("shuffle", kEncodingError);
  const std::string input = input_path(args.operands[0]);
  if (!all_readable({input})) return kFileFailure;
  return reporting_failures([&] {
    TextFile file;
    TokenList source;
    if (!read_text_tokens(file, input, source, *encoding)) {
      say(input + ": " + texts::kCannotOpen);
      return kFileFailure;
    }
    RandomGenerator generator;
    generator.set_state(seed);
    // The source text is not needed afterwards: it is scrambled where it is.
    shuffle_in_place(source, generator, {.keep_punctuation = args.has("--keep-punctuation")});
    return write_output(args.value("-o"), source) ? kSuccess : kFileFailure;
  });
}

int create_dictionary_command(const Arguments& args) {
  const std::vector<std::string> count_files = args.every_value("--counts");
  if (args.operands.empty() && count_files.empty()) {
    return usage_error("create-dictionary", "create-dictionary needs a CORPUS or --counts FILE");
  }
  const auto lexicon = args.value("-o");
  if (!lexicon || lexicon->empty()) {
    return usage_error("create-dictionary", "create-dictionary needs -o LEXICON");
  }
  const auto encoding = chosen_encoding(args);
  if (!encoding) return usage_error("create-dictionary", kEncodingError);
  LexiconOrder order = args.has("--no-sort") ? LexiconOrder::kText : LexiconOrder::kSorted;
  if (const auto name = args.value("--order")) {
    static const std::map<std::string, LexiconOrder> kOrders = {
        {"sorted", LexiconOrder::kSorted},
        {"text", LexiconOrder::kText},
        {"frequency", LexiconOrder::kFrequency}};
    const auto found = kOrders.find(*name);
    if (found == kOrders.end() || (args.has("--no-sort") && found->second != LexiconOrder::kText)) {
      return usage_error("create-dictionary",
                         "--order takes sorted, text or frequency (--no-sort means text)");
    }
    order = found->second;
  }
  const bool bigrams = args.has("--bigrams");
  if (bigrams && *lexicon == "-") {
    return usage_error("create-dictionary",
                       "--bigrams needs -o LEXICON to be a file (the model goes beside it)");
  }
  if (bigrams && args.operands.empty()) {
    return usage_error("create-dictionary",
                       "--bigrams needs a CORPUS: the model is counted from running text");
  }
  std::vector<std::string> names = args.operands;
  names.insert(names.end(), count_files.begin(), count_files.end());
  if (!stdin_at_most_once(names)) {
    return usage_error("create-dictionary", "standard input ('-') can be read only once");
  }
  // The corpora in the order given, then the count files.
  std::vector<LexiconSource> sources;
  for (std::size_t k = 0; k < names.size(); ++k) {
    names[k] = input_path(names[k]);
    sources.push_back({.kind = k < args.operands.size() ? LexiconSource::Kind::kCorpus
                                                        : LexiconSource::Kind::kCounts,
                       .path = names[k]});
  }
  if (!all_readable(names)) return kFileFailure;
  return reporting_failures([&] {
    ProgressPrinter printer(stderr);
    const LexiconBuild build =
        build_lexicon(sources,
                      {.order = order,
                       .bigrams = bigrams,
                       // The letter model goes beside a lexicon in frequency order; it
                       // comes from the counts of every source.
                       .letters = order == LexiconOrder::kFrequency && *lexicon != "-",
                       .encoding = *encoding},
                      printer.callback(order));
    if (build.unreadable) {
      say(*build.unreadable + ": " + texts::kCannotOpen);
      return kFileFailure;
    }
    if (*lexicon == "-") {
      if (!write_output(*lexicon, build.entries, "\n")) return kFileFailure;
    } else {
      create_dictionary_files(build, *lexicon);
    }
    printer.print(texts::stage_line(LexiconStage::kLexiconReady));
    return kSuccess;
  });
}

int translate_command(const Arguments& args) {
  if (args.operands.size() != 1)
    return usage_error("translate", "translate needs one SCRAMBLED file");
  const auto lexicon_name = args.value("-d");
  if (!lexicon_name || lexicon_name->empty()) {
    return usage_error("translate", "translate needs -d LEXICON");
  }
  const auto encoding = chosen_encoding(args);
  if (!encoding) return usage_error("translate", kEncodingError);
  const std::string& scrambled_name = args.operands[0];
  // --best turns on every step the lexicon has files for.
  const bool best = args.has("--best");
  const bool deep = best || args.has("--deep");
  const bool compounds = best || args.has("--compounds");
  const auto source_name = args.value("--source");
  auto suffixes = deep ? args.value("--suffixes") : std::nullopt;
  auto prefixes = deep ? args.value("--prefixes") : std::nullopt;
  const bool from_stdin = *lexicon_name == "-";
  const bool context = args.has("--context");
  if (context && from_stdin) {
    return usage_error("translate", "--context needs -d LEXICON to be a file (the model is beside it)");
  }
  const bool unknown = args.has("--unknown");
  if (unknown && from_stdin) {
    return usage_error("translate", "--unknown needs -d LEXICON to be a file (the model is beside it)");
  }

  std::string lexicon = *lexicon_name;
  if (!from_stdin) {
    try {
      lexicon = locate_lexicon(lexicon);
    } catch (const LexiconNotFound& failure) {
      say(failure.message());
      return kFileFailure;
    }
    if (best) {
      // The lexicon's own affix lists, where no others are given.
      const LexiconCompanions companions = companions_of(lexicon);
      if (!suffixes) suffixes = existing_file(companions.suffixes);
      if (!prefixes) prefixes = existing_file(companions.prefixes);
    }
  }

  std::vector<std::string> inputs = {scrambled_name, lexicon};
  for (const auto& name : {source_name, suffixes, prefixes}) {
    if (name) inputs.push_back(*name);
  }
  if (!stdin_at_most_once(inputs)) {
    return usage_error("translate", "standard input ('-') can be read only once");
  }
  for (std::string& name : inputs) name = input_path(name);
  if (!all_readable(inputs)) return kFileFailure;

  return reporting_failures([&] {
    TokenList source;
    TextFile source_file;
    if (source_name && !read_text_tokens(source_file, input_path(*source_name), source, *encoding)) {
      say(*source_name + ": " + texts::kCannotOpen);
      return kFileFailure;
    }
    DictionaryFiles files;
    if (!files.read_lexicon(input_path(lexicon))) {
      say(input_path(lexicon) + ": " + texts::kCannotOpen);
      return kFileFailure;
    }
    // An affix list not given is empty.
    using Read = bool (DictionaryFiles::*)(const std::string&, ReadEncoding);
    for (const auto& [name, read] : {std::pair{suffixes, Read{&DictionaryFiles::read_suffixes}},
                                     std::pair{prefixes, Read{&DictionaryFiles::read_prefixes}}}) {
      if (!name) continue;
      if (!(files.*read)(input_path(*name), *encoding)) {
        say(input_path(*name) + ": " + texts::kCannotOpen);
        return kFileFailure;
      }
    }
    ProgressPrinter printer(stderr);
    Dictionary dictionary;
    // A model asked for that cannot be used ends the run here, before
    // anything is written; so does one that --best finds but cannot use.
    const auto model_use = [&](bool asked) {
      return asked                 ? ModelFiles::kRequired
             : best && !from_stdin ? ModelFiles::kIfPresent
                                   : ModelFiles::kNone;
    };
    const LoadedDictionary loaded = load_dictionary_files(
        dictionary, std::move(files),
        {.deep_search = deep, .bigrams = model_use(context), .letters = model_use(unknown)},
        printer.callback<LoadStage>());
    for (const std::string& problem : {loaded.bigram_problem, loaded.letter_problem}) {
      if (!problem.empty()) {
        say(problem);
        return kFileFailure;
      }
    }
    // The report begins with the line already printed as progress.
    const std::string report = texts::dictionary_report(loaded.report);
    printer.print(std::string_view(report).substr(texts::stage_line(LoadStage::kCreatingTables).size()));

    TokenList scrambled;
    TextFile scrambled_file;
    if (!read_text_tokens(scrambled_file, input_path(scrambled_name), scrambled, *encoding)) {
      say(scrambled_name + ": " + texts::kCannotOpen);
      return kFileFailure;
    }
    const BigramModel* bigrams = loaded.bigrams ? &*loaded.bigrams : nullptr;
    const LetterModel* letters = loaded.letters ? &*loaded.letters : nullptr;
    TranslateOptions options{.deep_search = deep, .compounds = compounds, .context = bigrams};
    if (best || unknown) {
      // The letter model reads words as a reader sees them, weighs the
      // compounds against its own orders, and with the bigrams ties go by
      // both neighbours: the window's best steps.
      options = best_translate_options(deep, bigrams, letters);
      options.compounds = compounds;
      options.weigh_compounds = compounds && letters != nullptr;
    }
    const TranslateResult result = translate(scrambled, source, dictionary, options);
    if (source_name) {
      // The accuracy report byte for byte as the window shows it, CR LF included.
      const std::string accuracy_text =
          options.unknown ? texts::accuracy_report(result.accuracy, result.unknown)
                          : texts::accuracy_report(result.accuracy);
      std::fwrite(accuracy_text.data(), 1, accuracy_text.size(), stderr);
    } else {
      // Without a source there is nothing to compare: what each step did instead.
      const texts::RestoringSteps steps{.deep_search = deep,
                                        .compounds = compounds,
                                        .context = bigrams != nullptr,
                                        .letter_model = options.unknown};
      std::fputs(
          for_terminal(texts::restored_words_report(result, steps, unrestored_words(scrambled)))
              .c_str(),
          stderr);
    }
    return write_output(args.value("-o"), scrambled) ? kSuccess : kFileFailure;
  });
}

// Lists the lexicons a name finds, folder by folder, with the files that
// belong to each.
int lexicons_command(const Arguments& args) {
  if (!args.operands.empty()) return usage_error("lexicons", "lexicons takes no operands");
  return reporting_failures([&] {
    const LexiconPlaces places = LexiconPlaces::from_environment();
    const std::vector<FoundLexicon> found = list_lexicons(places);
    if (found.empty()) {
      std::string text = "no lexicon found; looked in";
      for (const std::string& folder : places.folders()) text += " " + folder;
      say(text);
      return kFileFailure;
    }
    std::vector<std::vector<std::string>> rows = {
        {"name", "words", "bigrams", "letters", "suffixes", "prefixes", "folder"}};
    const auto there = [](bool file) { return std::string(file ? "yes" : "-"); };
    for (const FoundLexicon& lexicon : found) {
      std::string folder = lexicon.folder;
      if (lexicon.hidden) {
        folder +=
            " (-d " + lexicon.name + " finds " + locate_lexicon(lexicon.name, places) + " first)";
      }
      rows.push_back({lexicon.name, std::to_string(lexicon.words), there(lexicon.bigrams),
                      there(lexicon.letters), there(lexicon.suffixes), there(lexicon.prefixes),
                      folder});
    }
    std::vector<std::size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows) {
      for (std::size_t k = 0; k < row.size(); ++k) widths[k] = std::max(widths[k], row[k].size());
    }
    for (const auto& row : rows) {
      std::string line;
      for (std::size_t k = 0; k + 1 < row.size(); ++k) {
        line += row[k] + std::string(widths[k] - row[k].size() + 2, ' ');
      }
      std::printf("%s%s\n", line.c_str(), row.back().c_str());
    }
    return kSuccess;
  });
}

int demo_command(const Arguments& args) {
  if (!args.operands.empty()) return usage_error("demo", "demo takes no operands");
  return run_demo(args);
}

struct Subcommand {
  std::vector<OptionDefinition> options;
  std::function<int(const Arguments&)> run;
  const char* help;
};

const std::map<std::string, Subcommand>& subcommands() {
  static const std::map<std::string, Subcommand> table = {
      {"shuffle",
       {{{{"-o", "--output"}, true},
         {{"--seed"}, true},
         {{"--keep-punctuation"}, false},
         {{"--encoding"}, true}},
        shuffle_command,
        kShuffleHelp}},
      {"create-dictionary",
       {{{{"-o", "--output"}, true},
         {{"--no-sort"}, false},
         {{"--order"}, true},
         {{"--bigrams"}, false},
         {{"--counts"}, true},
         {{"--encoding"}, true}},
        create_dictionary_command,
        kCreateDictionaryHelp}},
      {"translate",
       {{{{"-d", "--dictionary"}, true},
         {{"--deep"}, false},
         {{"--compounds"}, false},
         {{"--context"}, false},
         {{"--unknown"}, false},
         {{"--best"}, false},
         {{"--suffixes"}, true},
         {{"--prefixes"}, true},
         {{"--source"}, true},
         {{"-o", "--output"}, true},
         {{"--encoding"}, true}},
        translate_command,
        kTranslateHelp}},
      {"lexicons", {{}, lexicons_command, kLexiconsHelp}},
      {"demo", {{{{"--samples"}, true}}, demo_command, kDemoHelp}},
  };
  return table;
}

}  // namespace

int run_program(const std::vector<std::string>& words) {
  if (words.empty()) return usage_error("", "a command is needed");
  const std::string& name = words[0];
  if (name == "--help" || name == "-h" || name == "help") {
    std::fputs(kProgramHelp, stdout);
    return kSuccess;
  }
  if (name == "--version") {
    std::printf("%s %s\n", kProgram, QUIRLEX_VERSION);
    return kSuccess;
  }
  const auto found = subcommands().find(name);
  if (found == subcommands().end()) return usage_error("", "unknown command '" + name + "'");
  const Subcommand& command = found->second;
  std::vector<OptionDefinition> options = command.options;
  options.push_back({{"--help", "-h"}, false});
  Arguments args;
  if (const auto error = parse_arguments({words.begin() + 1, words.end()}, options, args)) {
    return usage_error(name, *error);
  }
  if (args.has("--help")) {
    std::fputs(command.help, stdout);
    return kSuccess;
  }
  return command.run(args);
}

}  // namespace quirlex::cli
