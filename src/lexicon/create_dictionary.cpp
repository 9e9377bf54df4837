#include "lexicon/create_dictionary.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "base/failure.h"
#include "lexicon/lexicon_builder.h"
#include "text/text_stream.h"

namespace quirlex {
namespace {

// The corpora of a build, open for reading, and their text as one run of
// pieces.
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

  // The pieces of every corpus, one after the other, until they end or a
  // stop is asked for. A word never runs from one corpus into the next:
  // each corpus ends with a separator of its own.
  TextPieces pieces() {
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

  void rewind() {
    for (const auto& stream : streams_) stream->rewind();
  }
  void close() { streams_.clear(); }

 private:
  const LexiconBuildOptions& options_;
  std::stop_token stop_;
  std::vector<std::unique_ptr<TextStream>> streams_;
  std::size_t current_ = 0;
  bool pending_end_ = false;
};

// The bytes of every corpus together, when the system can tell them.
std::uint64_t corpus_bytes(const std::vector<LexiconSource>& sources) {
  std::uint64_t total = 0;
  for (const LexiconSource& source : sources) {
    std::error_code no_size;
    const std::uintmax_t bytes = std::filesystem::file_size(source.path, no_size);
    if (!no_size) total += bytes;
  }
  return total;
}

// The pieces of `pieces`, telling `stage`'s share of `bytes` read as it
// grows by a whole percent (an umlaut spelled out makes a piece longer than
// its bytes, so the share is held below 100).
TextPieces telling_share(TextPieces pieces, std::uint64_t bytes, LexiconStage stage,
                         const Progress<LexiconStage>& progress) {
  if (bytes == 0) return pieces;
  return [pieces = std::move(pieces), bytes, stage, &progress, read = std::uint64_t{0},
          told = -1](std::string& piece) mutable {
    if (!pieces(piece)) return false;
    read += piece.size();
    const int share = static_cast<int>(std::min<std::uint64_t>(read * 100 / bytes, 99));
    if (share > told) {
      told = share;
      progress(stage, share);
    }
    return true;
  };
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
  Corpora corpora(options, stop);
  for (const LexiconSource& source : sources) {
    if (!corpora.open(source.path)) {
      build.unreadable = source.path;
      return build;
    }
  }
  LexiconBuilder builder;
  const std::uint64_t bytes = corpus_bytes(sources);
  if (bytes != 0) builder.expect_corpus_bytes(bytes);
  {
    const TextPieces pieces =
        telling_share(corpora.pieces(), bytes, LexiconStage::kReadingCorpus, progress);
    std::string piece;
    while (pieces(piece)) builder.add_text(piece);
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
    corpora.rewind();
    build.bigrams = BigramModel::count(
        builder, telling_share(corpora.pieces(), bytes, LexiconStage::kCountingBigrams, progress),
        kBigramShortWords, kMaxBigramSizeRatio * lexicon_bytes);
  }
  return build;
}

}  // namespace quirlex
