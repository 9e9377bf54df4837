// The context choice: a word the lexicon table restored, when other lexicon
// words share its signature, length and first and last letter, becomes the
// one of them that the bigram model most often sees beside its neighbours
// (the restored words before and after it). Without any pair of the model to
// go by, the table's word stays: in a lexicon in frequency order the most
// frequent one. The dictionary and the model must outlive the object, and the
// model must belong to the dictionary's lexicon.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "index/dictionary.h"
#include "index/signature_table.h"
#include "lexicon/bigram_model.h"
#include "text/token_list.h"

namespace quirlex {

// A word of the scrambled text that the model may choose for, with its
// scrambled text: the chosen word takes its capitals from it.
struct PendingChoice {
  std::size_t position = 0;
  std::string scrambled;
};

class ContextChoice {
 public:
  ContextChoice(const Dictionary& dictionary, const BigramModel& model);

  // Before restoring: the unsettled words of `scrambled` whose signature
  // some word of the model has, in text order.
  std::vector<PendingChoice> pending(const TokenList& scrambled) const;

  // After restoring `restored` (the same text): for each pending word that
  // the lexicon table restored, the choice among its ties, taken from left to
  // right (a changed word is the next one's neighbour). Returns the number
  // of words changed.
  std::int64_t choose(TokenList& restored, const std::vector<PendingChoice>& pending) const;

  // The same, each word scored by both neighbours at once: of the words of
  // a run of ties that neighbour each other, the sequence the model makes
  // most likely as a chain of pairs, each pair's count weighed against the
  // count of the word it follows (so a frequent word does not win by its
  // frequency alone), with a pair the model lacks as likely as its second
  // word is frequent.
  std::int64_t choose_by_both_neighbours(TokenList& restored,
                                         const std::vector<PendingChoice>& pending) const;

 private:
  struct Group {
    std::uint32_t start = 0;  // in members_
    std::uint32_t size = 0;
  };

  // The lexicon index of the restored word at `position` as the model knows
  // it, or -1.
  std::int64_t index_of(const TokenList& restored, std::size_t position) const;
  // The index of the word the neighbours of `position` have, going by
  // `step` (-1 or +1), or -1 when there is none the model knows; with
  // `at`, where that word stands.
  std::int64_t neighbour(const TokenList& restored, std::size_t position, int step,
                         std::size_t* at = nullptr) const;
  // The model's words that the table's word at `position` may become: it
  // first, then the others of its signature, length and ends; empty when
  // the table did not restore it or it has no others.
  std::vector<std::uint32_t> ties_of(const TokenList& restored, std::size_t position) const;
  // ln of how likely `second` follows `first` (either may be -1: no word).
  double follows(std::int64_t first, std::int64_t second) const;

  const Dictionary& dictionary_;
  const BigramModel& model_;
  std::vector<std::uint32_t> members_;  // the model's words, grouped by signature
  SignatureTable<Group> groups_;
  // How often each of the model's words is seen, as its pairs tell it (the
  // larger of its pairs' counts before it and after it), and all of them.
  std::vector<std::uint64_t> seen_;
  double seen_total_ = 0.0;
};

}  // namespace quirlex
