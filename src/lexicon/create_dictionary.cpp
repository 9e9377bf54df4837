#include "lexicon/create_dictionary.h"

#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "base/failure.h"
#include "lexicon/lexicon_builder.h"
#include "lexicon/spelling_counter.h"
#include "text/text_stream.h"

namespace quirlex {

std::optional<TokenList> build_lexicon(const std::string& corpus_path, LexiconOrder order,
                                       const ProgressCallback& progress, std::stop_token stop,
                                       ReadEncoding encoding, BigramModel* bigrams,
                                       std::size_t piece_size, LetterModel* letters) {
  const auto stage = [&](Stage next) {
    if (stop.stop_requested()) throw Stopped();
    progress(next, -1);
  };
  // The pieces of the corpus, until it ends or a stop is asked for.
  const auto next_piece = [&stop](TextStream& stream) {
    return [&stop, &stream](std::string& piece) {
      if (stop.stop_requested()) throw Stopped();
      return stream.next(piece);
    };
  };
  stage(Stage::kReadingCorpus);
  // Read a second time for the bigram model only.
  auto corpus = std::make_unique<TextStream>();
  if (!corpus->open(corpus_path, encoding, true, bigrams != nullptr, piece_size)) {
    return std::nullopt;
  }
  LexiconBuilder builder;
  std::error_code no_size;
  const std::uintmax_t corpus_bytes = std::filesystem::file_size(corpus_path, no_size);
  if (!no_size) builder.expect_corpus_bytes(corpus_bytes);
  if (order == LexiconOrder::kFrequency) builder.trim_word_ends();
  SpellingCounter spellings;
  {
    const TextPieces pieces = next_piece(*corpus);
    std::string piece;
    while (pieces(piece)) {
      // Counted before the builder folds the piece.
      if (letters != nullptr) spellings.add(piece);
      builder.add_text(piece);
    }
  }
  if (bigrams == nullptr) corpus.reset();
  stage(Stage::kFiltering);
  builder.finish();
  if (bigrams == nullptr) builder.forget_lookups();
  stage(Stage::kSorting);
  builder.put_in_order(order);
  // Repeated words were already dropped as the words were collected.
  stage(Stage::kRemovingRepeats);
  stage(Stage::kCompressing);
  TokenList entries = builder.encode();
  if (bigrams != nullptr) {
    if (stop.stop_requested()) throw Stopped();
    // The entries and a line feed after each.
    const std::uint64_t lexicon_bytes =
        entries.join().size() + static_cast<std::uint64_t>(entries.size());
    corpus->rewind();
    *bigrams = BigramModel::count(builder, next_piece(*corpus), kBigramShortWords,
                                  kMaxBigramSizeRatio * lexicon_bytes);
  }
  if (letters != nullptr) {
    if (stop.stop_requested()) throw Stopped();
    *letters = LetterModel::count(builder, spellings.finish());
  }
  return entries;
}

}  // namespace quirlex
