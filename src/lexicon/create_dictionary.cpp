#include "lexicon/create_dictionary.h"

#include <utility>

#include "base/failure.h"
#include "lexicon/lexicon_builder.h"
#include "text/text_file.h"

namespace quirlex {

std::optional<TokenList> build_lexicon(const std::string& corpus_path, LexiconOrder order,
                                       const ProgressCallback& progress, std::stop_token stop,
                                       ReadEncoding encoding,
                                       BigramModel* bigrams) {
  const auto stage = [&](Stage next) {
    if (stop.stop_requested()) throw Stopped();
    progress(next, -1);
  };
  stage(Stage::kReadingCorpus);
  std::string text;
  {
    TextFile corpus;
    if (!corpus.read(corpus_path, true, false, encoding)) return std::nullopt;
    text = corpus.take_content();
  }
  LexiconBuilder builder(std::move(text));
  stage(Stage::kFiltering);
  builder.collect_words();
  stage(Stage::kSorting);
  if (order == LexiconOrder::kSorted) builder.sort_words();
  if (order == LexiconOrder::kFrequency) builder.order_by_frequency();
  // Repeated words were already dropped as the words were collected.
  stage(Stage::kRemovingRepeats);
  stage(Stage::kCompressing);
  TokenList entries = builder.encode();
  if (bigrams != nullptr) {
    if (stop.stop_requested()) throw Stopped();
    std::uint64_t lexicon_bytes = 0;
    lexicon_bytes = entries.join().size() + static_cast<std::uint64_t>(entries.size());
    *bigrams = BigramModel::count(builder, kBigramShortWords, kMaxBigramSizeRatio * lexicon_bytes);
  }
  return entries;
}

}  // namespace quirlex
