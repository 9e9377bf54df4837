// Create Dictionary as one core command: from the sources of a lexicon (one
// or more corpus files) to the entries of its lexicon file, in the order
// asked for, and the model files that go beside it. The caller writes them
// (app/dictionary_files.h writes them all together).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "base/progress.h"
#include "lexicon/bigram_model.h"
#include "lexicon/letter_model.h"
#include "lexicon/lexicon_builder.h"
#include "text/text_encoding.h"
#include "text/text_stream.h"
#include "text/token_list.h"

namespace quirlex {

// The stages of Create Dictionary, in this order.
enum class LexiconStage {
  kReadingCorpus,    // the corpus is read and split into words
  kFiltering,        // words too short or not storable are dropped
  kSorting,          // the remaining words are put in lexicon order
  kRemovingRepeats,  // repeated words are dropped
  kCompressing,      // the entries are front-coded and the file written
  kCountingBigrams,  // with bigrams only: the corpus is read again for the model file
  kLexiconReady,     // the command ends (told by the front end, once written)
};

// One file a lexicon is made from.
struct LexiconSource {
  enum class Kind : std::uint8_t {
    kCorpus,  // running text
    kCounts,  // a word-count file (lexicon/count_file.h)
  };
  Kind kind = Kind::kCorpus;
  std::string path;
};

struct LexiconBuildOptions {
  LexiconOrder order = LexiconOrder::kSorted;
  // Also count the corpus's bigram model of the lexicon (a second reading of
  // the corpora), at most kMaxBigramSizeRatio times the lexicon file's size.
  bool bigrams = false;
  // Also build the letter model of the lexicon's words, with the sources'
  // spellings of words with capitals inside (lexicon/letter_model.h).
  bool letters = false;
  // How UTF-8 corpora are told and converted; their stand-ins only separate
  // words.
  ReadEncoding encoding = ReadEncoding::kAuto;
  // How much of a corpus is read at a time (0: TextStream's default).
  std::size_t piece_size = 0;
};

// What one Create Dictionary made.
struct LexiconBuild {
  // The source that could not be opened; when set, nothing else is.
  std::optional<std::string> unreadable;
  TokenList entries;  // the lexicon file's entries, one token each
  std::optional<BigramModel> bigrams;
  std::optional<LetterModel> letters;
};

// Reads every source (umlauts spelled out) piece by piece, in order, and
// makes the front-coded entries of their lexicon: the counts of equal words
// of all sources add up, and a word first appears where its first source
// has it. In frequency order a word's bytes that are no letters at its front
// and back are no part of it, as a reader sees words. The bigram model and
// the spellings of words with capitals inside come from the corpora only.
// Progress:
// kReadingCorpus (the words are collected as the sources are read),
// kFiltering, kSorting, kRemovingRepeats, kCompressing and, with bigrams,
// kCountingBigrams, each as it begins (percentage -1). The two stages that
// read the corpora then tell the share of their bytes read so far, 0 to 99,
// each time it grows by a whole percent (when their sizes are known). A stop
// request is honoured between stages and between pieces with
// a Stopped failure, a malformed count file is a CountFileError; nothing is
// written here in any case.
LexiconBuild build_lexicon(const std::vector<LexiconSource>& sources,
                           const LexiconBuildOptions& options,
                           const Progress<LexiconStage>& progress, std::stop_token stop = {});

// How much larger than its lexicon file a bigram file may grow.
inline constexpr std::uint64_t kMaxBigramSizeRatio = 10;

}  // namespace quirlex
