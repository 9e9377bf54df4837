#include "app/command_texts.h"

#include <cstdint>

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

std::string stage_line(LexiconStage stage) {
  switch (stage) {
    case LexiconStage::kReadingCorpus:
      return "Read the file and split it into words\r\n";
    case LexiconStage::kFiltering:
      return "Filtering of unused strings (too small, no words, illegal characters)\r\n";
    case LexiconStage::kSorting:
      return "Remaining words are now sorted by characters and length\r\n";
    case LexiconStage::kRemovingRepeats:
      return "Delete all multiple words\r\n";
    case LexiconStage::kCompressing:
      return "Compress and save the lexicon\r\n";
    case LexiconStage::kLexiconReady:
      return "Ready!";
  }
  return {};
}

std::string stage_line(LoadStage stage) {
  return stage == LoadStage::kCreatingTables ? "Creating the hashtables!\r\n" : "";
}

int stage_percentage(LexiconStage stage) {
  return 100 * static_cast<int>(stage) / static_cast<int>(LexiconStage::kLexiconReady);
}

std::string deep_word_list_line(int percentage) {
  return format_int(
      "%i percent of the deep wordlist created (reducing the suffixes and prefixes speedups this "
      "tasks but can lead to worse results)",
      percentage);
}

std::string dictionary_report(const DictionaryReport& report, const std::string& problem) {
  std::string text = dictionary_report(report);
  if (!text.ends_with("\r\n")) text += "\r\n";
  return text + "\r\n" + problem + "; Translate goes without the context choice.\r\n";
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

std::string accuracy_report(const Accuracy& accuracy) {
  // The percentage is a whole number, so its one decimal is always 0; it is
  // written out here rather than by printf so that no locale can change the
  // decimal point.
  return std::to_string(accuracy.correct) + " of " + std::to_string(accuracy.total) +
         " Characters recognized correctly\r\nTranslated " + std::to_string(accuracy.percentage) +
         ".0 percent of the text\r\n\r\n";
}

}  // namespace quirlex::texts
