#include "lexicon/create_dictionary.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "base/failure.h"
#include "base/read_ahead.h"
#include "lexicon/count_file.h"
#include "lexicon/lexicon_builder.h"
#include "lexicon/spelling_counter.h"
#include "lexicon/spelling_counter.h"
#include "text/text_stream.h"

namespace quirlex {
namespace {

// The corpora of a build, open for reading, their text piece by piece.
class Corpora {
 public:
  Corpora(const LexiconBuildOptions& options, std::stop_token stop)
      : options_(options), stop_(std::move(stop)) {}

  // Opens `path`; false when it cannot be opened.
  bool open(const std::string& path) {
    auto stream = std::make_unique<TextStream>();
    if (!stream->open(path, {.encoding = options_.encoding,
                             .rewindable = options_.bigrams,
                             .piece_size = options_.piece_size})) {
      return false;
    }
    streams_.push_back(std::move(stream));
    return true;
  }

  // The pieces of corpus `index`, until it ends or a stop is asked for.
  TextPieces pieces_of(std::size_t index) {
    return [this, index](std::string& piece) {
      if (stop_.stop_requested()) throw Stopped();
      return streams_[index]->next(piece);
    };
  }

  // The pieces of every corpus from its beginning, one after the other. A
  // word never runs from one corpus into the next: a line feed comes
  // between them.
  TextPieces all_pieces() {
    for (const auto& stream : streams_) stream->rewind();
    current_ = 0;
    pending_end_ = false;
    return [this](std::string& piece) {
      for (;;) {
        if (stop_.stop_requested()) throw Stopped();
        if (pending_end_) {
          pending_end_ = false;
          piece.assign(1, '\n');
          return true;
        }
        if (current_ == streams_.size()) {
          piece.clear();
          return false;
        }
        if (streams_[current_]->next(piece)) return true;
        if (++current_ < streams_.size()) pending_end_ = true;
      }
    };
  }

  void close() { streams_.clear(); }

 private:
  const LexiconBuildOptions& options_;
  std::stop_token stop_;
  std::vector<std::unique_ptr<TextStream>> streams_;
  std::size_t current_ = 0;
  bool pending_end_ = false;
};

bool is_corpus(const LexiconSource& source) {
  return source.kind == LexiconSource::Kind::kCorpus;
}

// The bytes of every corpus together, when the system can tell them.
std::uint64_t corpus_bytes(const std::vector<LexiconSource>& sources) {
  std::uint64_t total = 0;
  for (const LexiconSource& source : sources) {
    if (!is_corpus(source)) continue;
    std::error_code no_size;
    const std::uintmax_t bytes = std::filesystem::file_size(source.path, no_size);
    if (!no_size) total += bytes;
  }
  return total;
}

// Tells `stage`'s share of `bytes` read as it grows by a whole percent (an
// umlaut spelled out makes a piece longer than its bytes, so the share is
// held below 100), over the pieces of every corpus of one reading.
class ShareTeller {
 public:
  ShareTeller(std::uint64_t bytes, LexiconStage stage, const Progress<LexiconStage>& progress)
      : bytes_(bytes), stage_(stage), progress_(progress) {}

  TextPieces telling(TextPieces pieces) {
    if (bytes_ == 0) return pieces;
    return [this, pieces = std::move(pieces)](std::string& piece) {
      if (!pieces(piece)) return false;
      read_ += piece.size();
      const int share = static_cast<int>(std::min<std::uint64_t>(read_ * 100 / bytes_, 99));
      if (share > told_) {
        told_ = share;
        progress_(stage_, share);
      }
      return true;
    };
  }

 private:
  std::uint64_t bytes_;
  LexiconStage stage_;
  const Progress<LexiconStage>& progress_;
  std::uint64_t read_ = 0;
  int told_ = -1;
};

// Whether `path` can be opened for reading as a text.
bool can_open(const std::string& path) {
  TextStream stream;
  return stream.open(path, {});
}

}  // namespace

LexiconBuild build_lexicon(const std::vector<LexiconSource>& sources,
                           const LexiconBuildOptions& options,
                           const Progress<LexiconStage>& progress, std::stop_token stop) {
  const auto stage = [&](LexiconStage next) {
    if (stop.stop_requested()) throw Stopped();
    progress(next, -1);
  };
  stage(LexiconStage::kReadingCorpus);
  LexiconBuild build;
  // Every source is opened before any is read, so one that cannot be
  // opened is told at once.
  Corpora corpora(options, stop);
  for (const LexiconSource& source : sources) {
    if (is_corpus(source) ? !corpora.open(source.path) : !can_open(source.path)) {
      build.unreadable = source.path;
      return build;
    }
  }
  LexiconBuilder builder;
  const std::uint64_t bytes = corpus_bytes(sources);
  if (bytes != 0) builder.expect_corpus_bytes(bytes);
  if (options.order == LexiconOrder::kFrequency) builder.trim_word_ends();
  SpellingCounter spellings;
  ShareTeller reading(bytes, LexiconStage::kReadingCorpus, progress);
  std::size_t corpus = 0;
  for (const LexiconSource& source : sources) {
    if (is_corpus(source)) {
      // The next piece is read while the words of this one are counted.
      ReadAhead ahead(corpora.pieces_of(corpus++));
      const TextPieces pieces =
          reading.telling([&ahead](std::string& piece) { return ahead.next(piece); });
      std::string piece;
      while (pieces(piece)) {
        // Counted before the builder folds the piece.
        if (options.letters) spellings.add(piece);
        builder.add_text(piece);
      }
      builder.end_source();
    } else if (!add_count_file(builder, source.path, options.encoding, stop, options.piece_size,
                               options.letters ? &spellings : nullptr)) {
      build.unreadable = source.path;
      return build;
    }
  }
  // Read a second time for the bigram model only.
  if (!options.bigrams) corpora.close();
  stage(LexiconStage::kFiltering);
  builder.finish();
  if (!options.bigrams) builder.forget_lookups();
  stage(LexiconStage::kSorting);
  builder.put_in_order(options.order);
  // Repeated words were already dropped as the words were collected.
  stage(LexiconStage::kRemovingRepeats);
  stage(LexiconStage::kCompressing);
  build.entries = builder.encode();
  if (options.bigrams) {
    stage(LexiconStage::kCountingBigrams);
    // The entries and a line feed after each.
    const std::uint64_t lexicon_bytes =
        build.entries.join().size() + static_cast<std::uint64_t>(build.entries.size());
    ShareTeller counting(bytes, LexiconStage::kCountingBigrams, progress);
    build.bigrams = BigramModel::count(builder, counting.telling(corpora.all_pieces()),
                                       kBigramShortWords, kMaxBigramSizeRatio * lexicon_bytes);
  }
  if (options.letters) {
    if (stop.stop_requested()) throw Stopped();
    build.letters = LetterModel::count(builder, spellings.finish());
  }
  return build;
}

}  // namespace quirlex
