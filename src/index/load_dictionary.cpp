#include "index/load_dictionary.h"

#include <utility>

#include "lexicon/lexicon_codec.h"

namespace quirlex {

DictionaryReport load_dictionary(Dictionary& d, DictionaryTexts texts,
                                 const Progress<LoadStage>& progress, std::stop_token stop) {
  d.suffixes.make_empty();
  d.prefixes.make_empty();
  d.words.make_empty();
  d.lexicon_table.make_empty();
  d.variant_table.make_empty();
  d.variant_sizes = {};
  d.layout = VariantLayout{};

  read_lexicon_words(std::move(texts.lexicon), d.words);
  progress(LoadStage::kCreatingTables, -1);
  fill_lexicon_table(d.words, d.lexicon_table);

  DictionaryReport report;
  if (texts.deep_search) {
    read_affix_list(std::move(texts.suffixes), d.suffixes);
    read_affix_list(std::move(texts.prefixes), d.prefixes);
    d.layout = VariantLayout::for_counts(d.prefixes.size(), d.suffixes.size());
    report.deep_search =
        deep_word_list_check(d.prefixes.size(), d.suffixes.size(), d.words.size(), d.layout);
    if (report.deep_search == DeepSearchOutcome::kBuilt &&
        !build_deep_word_list(
            d, [&progress](int percentage) { progress(LoadStage::kDeepWordList, percentage); },
            stop)) {
      report.deep_search = DeepSearchOutcome::kStopped;
    }
  }
  report.entries = d.lexicon_table.entry_count();
  report.words = d.words.size();
  report.prefixes = d.prefixes.size();
  report.suffixes = d.suffixes.size();
  report.word_bits = d.layout.word_bits;
  return report;
}

}  // namespace quirlex
