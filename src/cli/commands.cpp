#include "cli/commands.h"

#include <cstdio>
#include <functional>
#include <map>

#include "app/main_dialog.h"
#include "base/version.h"
#include "cli/arguments.h"
#include "cli/demo.h"
#include "cli/help.h"
#include "cli/session.h"

namespace quirlex::cli {
namespace {

int usage_error(const std::string& command, const std::string& text) {
  say(text);
  std::fprintf(stderr, "Try '%s%s%s --help'.\n", kProgram, command.empty() ? "" : " ",
               command.c_str());
  return kUsageError;
}

int shuffle_command(const Arguments& args) {
  if (args.operands.size() != 1) return usage_error("shuffle", "shuffle needs one INPUT file");
  std::uint32_t seed = 1;
  if (const auto text = args.value("--seed")) {
    const auto parsed = parse_seed(*text);
    if (!parsed) return usage_error("shuffle", "--seed takes a number from 0 to 4294967295");
    seed = *parsed;
  }
  const std::string& input = args.operands[0];
  if (!all_readable({input})) return kFileFailure;
  Session session;
  session.window.answer_file(input);
  if (!succeeded(session.dialog.load())) return kFileFailure;
  session.dialog.generator().set_state(seed);
  if (!succeeded(session.dialog.shuffle())) return kFileFailure;
  return write_output(args.value("-o"), session.dialog.scrambled_tokens()) ? kSuccess
                                                                           : kFileFailure;
}

int create_dictionary_command(const Arguments& args) {
  if (args.operands.size() != 1) {
    return usage_error("create-dictionary", "create-dictionary needs one CORPUS file");
  }
  const auto lexicon = args.value("-o");
  if (!lexicon || lexicon->empty()) {
    return usage_error("create-dictionary", "create-dictionary needs -o LEXICON");
  }
  const std::string& corpus = args.operands[0];
  if (!all_readable({corpus})) return kFileFailure;
  Session session;
  session.window.set_checked(CheckBox::kSort, !args.has("--no-sort"));
  session.window.answer_file(corpus);
  session.window.answer_file(*lexicon);
  session.window.set_progress(true);
  return session.dialog.create_dictionary() == CommandOutcome::kDone ? kSuccess : kFileFailure;
}

int translate_command(const Arguments& args) {
  if (args.operands.size() != 1)
    return usage_error("translate", "translate needs one SCRAMBLED file");
  const auto lexicon = args.value("-d");
  if (!lexicon || lexicon->empty()) return usage_error("translate", "translate needs -d LEXICON");
  const std::string& scrambled = args.operands[0];
  const bool deep = args.has("--deep");
  const auto source = args.value("--source");
  const auto suffixes = deep ? args.value("--suffixes") : std::nullopt;
  const auto prefixes = deep ? args.value("--prefixes") : std::nullopt;

  std::vector<std::string> inputs = {scrambled, *lexicon};
  for (const auto& name : {source, suffixes, prefixes}) {
    if (name) inputs.push_back(*name);
  }
  if (!all_readable(inputs)) return kFileFailure;

  Session session;
  ConsoleWindow& window = session.window;
  MainDialog& dialog = session.dialog;
  if (source) {
    window.answer_file(*source);
    if (!succeeded(dialog.load())) return kFileFailure;
  }
  window.set_checked(CheckBox::kDeepSearch, deep);
  window.answer_file(*lexicon);
  // The affix dialogs are shown only with Deep Search; answering them without
  // it would leave answers queued for the dialog of the scrambled text. An
  // affix list not given is empty: its dialog chooses no file.
  if (deep) {
    window.answer_file(suffixes.value_or(""));
    window.answer_file(prefixes.value_or(""));
  }
  window.set_progress(true);
  const CommandOutcome loaded = dialog.load_dictionary();
  window.print_lower_update();
  window.set_progress(false);
  if (!succeeded(loaded)) return kFileFailure;
  window.answer_file(scrambled);
  if (!succeeded(dialog.load_shuffled_text())) return kFileFailure;
  if (!succeeded(dialog.translate())) return kFileFailure;

  // The report, byte for byte as it begins the lower box, then the restored text.
  const std::string& report = window.leading_text_of(TextBox::kLower);
  std::fwrite(report.data(), 1, report.size(), stderr);
  return write_output(args.value("-o"), dialog.scrambled_tokens()) ? kSuccess : kFileFailure;
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
       {{{{"-o", "--output"}, true}, {{"--seed"}, true}}, shuffle_command, kShuffleHelp}},
      {"create-dictionary",
       {{{{"-o", "--output"}, true}, {{"--no-sort"}, false}},
        create_dictionary_command,
        kCreateDictionaryHelp}},
      {"translate",
       {{{{"-d", "--dictionary"}, true},
         {{"--deep"}, false},
         {{"--suffixes"}, true},
         {{"--prefixes"}, true},
         {{"--source"}, true},
         {{"-o", "--output"}, true}},
        translate_command,
        kTranslateHelp}},
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
