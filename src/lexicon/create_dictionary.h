// Create Dictionary as one core command: from a corpus file to the entries
// of its lexicon file, in the order asked for. The caller writes the entries
// (each followed by a line feed) where the user chooses.
#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>

#include "base/progress.h"
#include "text/text_encoding.h"
#include "text/text_stream.h"
#include "lexicon/bigram_model.h"
#include "lexicon/letter_model.h"
#include "lexicon/lexicon_builder.h"
#include "text/token_list.h"

namespace quirlex {

// Reads the corpus (umlauts spelled out, UTF-8 converted by `encoding`: its
// stand-ins only separate words) piece by piece, `piece_size` bytes at a
// time, and makes the front-coded entries of its lexicon; nullopt when the
// corpus cannot be opened. Progress: kReadingCorpus (the words are collected
// as the corpus is read), kFiltering, kSorting, kRemovingRepeats and
// kCompressing, each as it begins. A stop request is honoured between stages
// and between pieces with a Stopped failure; nothing is written here in any
// case. With `bigrams`, it also receives the corpus's bigram model of this
// lexicon, at most kMaxBigramSizeRatio times the lexicon file's size, from a
// second reading of the corpus. With `letters`, it also receives the letter
// model of the lexicon's words and the corpus's spellings of words with
// capitals inside. In frequency order a word's bytes that are no letters at
// its front and back are no part of it.
std::optional<TokenList> build_lexicon(const std::string& corpus_path, LexiconOrder order,
                                       const ProgressCallback& progress,
                                       std::stop_token stop = {},
                                       ReadEncoding encoding = ReadEncoding::kAuto,
                                       BigramModel* bigrams = nullptr,
                                       std::size_t piece_size = TextStream::kDefaultPieceSize,
                                       LetterModel* letters = nullptr);

// How much larger than its lexicon file a bigram file may grow.
inline constexpr std::uint64_t kMaxBigramSizeRatio = 10;

}  // namespace quirlex
