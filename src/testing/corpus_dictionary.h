// A dictionary made from a corpus text the way Create Dictionary and Load
// Dictionary make it for the best restoring (frequency order, words as a
// reader sees them), with the letter model of its words, for the tests of
// the steps that use them.
#pragma once

#include <string>

#include "index/dictionary.h"
#include "lexicon/letter_model.h"
#include "lexicon/lexicon_builder.h"
#include "lexicon/lexicon_codec.h"
#include "lexicon/spelling_counter.h"
#include "text/token_writer.h"

namespace quirlex::testing {

struct CorpusDictionary {
  explicit CorpusDictionary(std::string corpus, int order = LetterModel::kDefaultOrder) {
    SpellingCounter spellings;
    spellings.add(corpus);
    LexiconBuilder builder;
    builder.trim_word_ends();
    builder.add_text(corpus);
    builder.finish();
    builder.put_in_order(LexiconOrder::kFrequency);
    std::string file;
    put_tokens(builder.encode(), "\n", [&file](std::string_view bytes) { file += bytes; });
    read_lexicon_words(file, dictionary.words);
    fill_lexicon_table(dictionary.words, dictionary.lexicon_table);
    letters = LetterModel::count(builder, spellings.finish(), order);
  }
  Dictionary dictionary;
  LetterModel letters;
};

}  // namespace quirlex::testing
