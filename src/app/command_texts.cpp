#include "app/command_texts.h"

#include <cstdint>
#include <utility>

#include "base/format.h"
#include "base/limits.h"

namespace quirlex::texts {
namespace {

std::string deep_search_refusal(const DictionaryReport& report) {
  const std::string words = std::to_string(report.words);
  const std::string prefixes = std::to_string(report.prefixes);
  const std::string suffixes = std::to_string(report.suffixes);
  const std::string lists = prefixes + " prefixes and " + suffixes + " suffixes";
  const std::string remedy = " Shorter prefix or suffix lists make it possible.\r\n";
  if (report.deep_search == DeepSearchOutcome::kWordsDoNotFit) {
    return "Deep Search refused: " + words + " words do not fit the " +
           std::to_string(report.word_bits) + " bits a variant code keeps for the word beside " +
           lists + "." + remedy;
  }
  // Three list sizes can multiply past 64 bits; such a product is named by
  // its factors.
  const std::int64_t prefix_choices = std::int64_t{report.prefixes} + 1;
  const std::int64_t suffix_choices = std::int64_t{report.suffixes} + 1;
  std::int64_t members = 0;
  const bool overflow = __builtin_mul_overflow(prefix_choices, suffix_choices, &members) ||
                        __builtin_mul_overflow(members, std::int64_t{report.words}, &members);
  const std::string count = overflow ? std::to_string(prefix_choices) + " x " +
                                           std::to_string(suffix_choices) + " x " + words
                                     : std::to_string(members);
  return "Deep Search refused: " + words + " words with " + lists + " make " + count +
         " variants, more than the " + std::to_string(kCountLimit) + " that can be indexed." +
         remedy;
}

}  // namespace

std::string unsaved_text_question(bool restored, std::string_view command) {
  return std::string(restored ? "The restored text" : "The scrambled text") +
         " in the lower box has not been saved. " + std::string(command) +
         " anyway and lose it?";
}

std::string stage_line(LexiconStage stage, LexiconOrder order) {
  switch (stage) {
    case LexiconStage::kReadingCorpus:
      return "Read the file and split it into words\r\n";
    case LexiconStage::kFiltering:
      return "Filtering of unused strings (too small, no words, illegal characters)\r\n";
    case LexiconStage::kSorting:
      return order == LexiconOrder::kFrequency
                 ? "Remaining words are now ordered by their frequency in the corpus\r\n"
                 : "Remaining words are now sorted by characters and length\r\n";
    case LexiconStage::kRemovingRepeats:
      return "Delete all multiple words\r\n";
    case LexiconStage::kCompressing:
      return "Compress and save the lexicon\r\n";
    case LexiconStage::kCountingBigrams:
      return "Count the word pairs and save them in the model file\r\n";
    case LexiconStage::kLexiconReady:
      return "Ready!";
  }
  return {};
}

std::string stage_line(LoadStage stage) {
  return stage == LoadStage::kCreatingTables ? "Creating the hashtables!\r\n" : "";
}

int stage_percentage(LexiconStage stage, int share, bool bigrams) {
  // What each stage takes of the bar: reading a corpus is most of the work;
  // the stages between the two readings are quick.
  const auto weight = [bigrams](LexiconStage of) {
    switch (of) {
      case LexiconStage::kReadingCorpus:
        return 16;
      case LexiconStage::kCountingBigrams:
        return bigrams ? 16 : 0;
      case LexiconStage::kLexiconReady:
        return 0;
      default:
        return 1;
    }
  };
  int before = 0;
  int total = 0;
  for (int s = 0; s < static_cast<int>(LexiconStage::kLexiconReady); ++s) {
    const auto of = static_cast<LexiconStage>(s);
    if (s < static_cast<int>(stage)) before += weight(of);
    total += weight(of);
  }
  const int done = before * 100 + weight(stage) * (share < 0 ? 0 : share);
  return stage == LexiconStage::kLexiconReady ? 100 : done / total;
}

std::string deep_word_list_line(int percentage) {
  return format_int(
      "%i percent of the deep wordlist created (reducing the suffixes and prefixes speedups this "
      "tasks but can lead to worse results)",
      percentage);
}

std::string dictionary_report(const DictionaryReport& report, const ModelProblems& problems) {
  std::string text = dictionary_report(report);
  if (problems.bigrams.empty() && problems.letters.empty()) return text;
  if (!text.ends_with("\r\n")) text += "\r\n";
  text += "\r\n";
  if (!problems.bigrams.empty()) {
    text += problems.bigrams + "; Translate goes without the context choice.\r\n";
  }
  if (!problems.letters.empty()) {
    text += problems.letters + "; Translate goes without the letter model.\r\n";
  }
  return text;
}

std::string dictionary_report(const DictionaryReport& report) {
  std::string text = stage_line(LoadStage::kCreatingTables) + "READY!\r\n\r\n";
  if (report.entries != 0) text += format_int("%i Words are read into the lexicon\r\n", report.entries);
  if (report.prefixes != 0) text += format_int("Read %i Prefixes\r\n", report.prefixes);
  if (report.suffixes != 0) text += format_int("Read %i Suffixes\r\n", report.suffixes);
  switch (report.deep_search) {
    case DeepSearchOutcome::kTooManyMembers:
    case DeepSearchOutcome::kWordsDoNotFit:
      return text + "\r\n" + deep_search_refusal(report);
    case DeepSearchOutcome::kStopped:
      return text + "\r\nDeep Search stopped: only the lexicon itself is searched.\r\n";
    case DeepSearchOutcome::kNotAsked:
    case DeepSearchOutcome::kBuilt:
      break;
  }
  // A 32-bit product that wraps around, as the count has always been shown.
  std::uint32_t variants = static_cast<std::uint32_t>(report.entries);
  if (report.prefixes != 0) variants *= static_cast<std::uint32_t>(report.prefixes);
  if (report.suffixes != 0) variants *= static_cast<std::uint32_t>(report.suffixes);
  if (variants > static_cast<std::uint32_t>(report.words)) {
    text += format_int("\r\nCreated %i words including all variants",
                       static_cast<std::int32_t>(variants));
  }
  return text;
}

std::string accuracy_report(const Accuracy& accuracy, std::int64_t letter_model_words) {
  std::string text = accuracy_report(accuracy);
  text.insert(text.size() - 2,
              std::to_string(letter_model_words) + " words restored by the letter model\r\n");
  return text;
}

std::string accuracy_report(const Accuracy& accuracy) {
  // The percentage is a whole number, so its one decimal is always 0; it is
  // written out here rather than by printf so that no locale can change the
  // decimal point.
  return std::to_string(accuracy.correct) + " of " + std::to_string(accuracy.total) +
         " Characters recognized correctly\r\nTranslated " + std::to_string(accuracy.percentage) +
         ".0 percent of the text\r\n\r\n";
}

std::string restored_words_report(const TranslateResult& result, RestoringSteps steps,
                                  std::int64_t unrestored) {
  const auto count = [](std::int64_t n) { return std::to_string(n); };
  std::string text = "Restored " +
                     count(result.lexicon + result.variants + result.compounds + result.unknown) +
                     " words: " +
                     count(result.lexicon) + " from the lexicon";
  if (steps.deep_search) text += ", " + count(result.variants) + " by Deep Search";
  if (steps.compounds) text += ", " + count(result.compounds) + " by Compound Search";
  if (steps.letter_model) text += ", " + count(result.unknown) + " by the letter model";
  if (steps.context) text += "; the context choice changed " + count(result.context);
  return text + "; " + count(unrestored) + " stayed as they were\r\n";
}

std::string dictionary_status(std::string_view lexicon_name, const DictionaryReport& report,
                              ModelStates models) {
  // Short enough for the window's width with a lexicon of the usual name.
  std::string text = "Lexicon: " + std::string(lexicon_name) + ", " +
                     std::to_string(report.words) + " words; ";
  switch (report.deep_search) {
    case DeepSearchOutcome::kBuilt:
      text += "Deep Search: " + std::to_string(report.prefixes) + " prefixes, " +
              std::to_string(report.suffixes) + " suffixes";
      break;
    case DeepSearchOutcome::kStopped:
      text += "Deep Search stopped";
      break;
    case DeepSearchOutcome::kTooManyMembers:
    case DeepSearchOutcome::kWordsDoNotFit:
      text += "Deep Search refused";
      break;
    case DeepSearchOutcome::kNotAsked:
      text += "no Deep Search";
      break;
  }
  std::string loaded;
  std::string unusable;
  for (const auto& [state, name] : {std::pair{models.bigrams, "bigrams"},
                                    std::pair{models.letters, "letter model"}}) {
    std::string& list = state == ModelFileState::kLoaded ? loaded : unusable;
    if (state == ModelFileState::kNone) continue;
    list += (list.empty() ? "" : ", ") + std::string(name);
  }
  if (loaded.empty() && unusable.empty()) return text + "; no model file";
  if (!loaded.empty()) text += "; model files: " + loaded;
  if (!unusable.empty()) text += "; not usable: " + unusable;
  return text;
}

}  // namespace quirlex::texts
