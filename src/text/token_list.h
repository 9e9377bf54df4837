// An ordered, growable list of tokens that owns them. It grows by a fixed
// grow step, or automatically by an eighth of its size (4 to 1024 slots), so
// that appending the tokens of a large text does not reallocate per token.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/large_block.h"
#include "text/text_encoding.h"
#include "text/word_token.h"

namespace quirlex {

class TokenList {
 public:
  // The largest number of tokens a list may hold (its size is a 32-bit count).
  static constexpr std::int64_t kMaxSize = INT32_MAX;

  TokenList() = default;

  std::int32_t size() const { return static_cast<std::int32_t>(tokens_.size()); }
  std::int32_t capacity() const { return static_cast<std::int32_t>(tokens_.capacity()); }
  std::int32_t grow_step() const { return grow_step_; }
  bool is_empty() const { return tokens_.empty(); }

  // Gives the list exactly `n` tokens; new positions hold default tokens. A
  // `step` of 0 or more becomes the grow step first; a negative one keeps it.
  // A negative `n` is an invalid argument; more than kMaxSize tokens is refused.
  void set_size(std::int64_t n, std::int32_t step = -1);

  // Makes element `index` a copy of `token`, growing the list to index + 1
  // tokens first when needed. With index == size() this appends.
  void set_at_grow(std::int64_t index, WordToken token);
  void append(WordToken token) {
    // Within the capacity this is what set_at_grow does, minus the default
    // token it would make first and then overwrite.
    if (tokens_.size() < tokens_.capacity()) {
      tokens_.push_back(std::move(token));
    } else {
      set_at_grow(size(), std::move(token));
    }
  }

  // Appends a default token and returns it, to be filled in place: the
  // tokens of a large text are made where they stay instead of moved there.
  WordToken& append_new() {
    if (tokens_.size() < tokens_.capacity()) return tokens_.emplace_back();
    set_at_grow(size(), WordToken{});
    return tokens_.back();
  }

  // Empties the list and gives it the storage set_size(n, step) would give
  // an empty list, so that `n` appends follow without any growing.
  void reserve_for(std::int64_t n, std::int32_t step = -1);

  // The token at `index`; an index outside the list is an invalid argument.
  const WordToken& element(std::int64_t index) const;
  WordToken& element(std::int64_t index);

  // Releases every token and the storage.
  void make_empty();

  // The texts of all tokens in order, with nothing between them.
  std::string join() const;

  // How the list's text is written back (the encoding of the file it came
  // from). Only set_encoding changes it; it is no part of ==.
  const TextEncoding& encoding() const { return encoding_; }
  void set_encoding(TextEncoding encoding) { encoding_ = std::move(encoding); }

  std::span<const WordToken> tokens() const { return tokens_; }
  std::span<WordToken> tokens() { return tokens_; }
  auto begin() const { return tokens_.begin(); }
  auto end() const { return tokens_.end(); }

  friend bool operator==(const TokenList& a, const TokenList& b) { return a.tokens_ == b.tokens_; }

 private:
  void grow_storage(std::size_t n);

  using Storage = std::vector<WordToken, LargeBlockAllocator<WordToken>>;
  Storage tokens_;
  std::int32_t grow_step_ = 0;
  TextEncoding encoding_;
};

}  // namespace quirlex
