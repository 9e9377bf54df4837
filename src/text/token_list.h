// An ordered list of tokens over one byte buffer. The buffer holds the
// tokens' texts in order with nothing between them, so it is the list's
// joined text; each token is where its text ends in the buffer and its
// separator flag, four bytes in all. Letter masks and signatures are not
// stored: they follow from a token's text, and a list made with signatures
// gives them with every token it hands out (element, signature).
//
// The token slots grow by a fixed grow step, or automatically by an eighth
// of the size (4 to 1024 slots), so that appending does not reallocate per
// token; the buffer grows as a string does.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/large_block.h"
#include "base/limits.h"
#include "text/text_encoding.h"
#include "text/word_token.h"

namespace quirlex {

struct TokenizeOptions;

class TokenList {
 public:
  // The most tokens a list may hold, and the most bytes of text (both are
  // 32-bit counts).
  static constexpr std::int64_t kMaxSize = kCountLimit;
  static constexpr std::int64_t kMaxBytes = kCountLimit;

  TokenList() = default;

  std::int32_t size() const { return static_cast<std::int32_t>(ends_.size()); }
  std::int32_t capacity() const { return static_cast<std::int32_t>(ends_.capacity()); }
  bool is_empty() const { return ends_.empty(); }

  // Whether tokens come with their letter mask and signature. Lists that are
  // only stored, split or decoded do without; the tokenizer decides.
  void set_signatures(bool signatures) { signatures_ = signatures; }

  // Gives the list exactly `n` tokens; new positions hold default tokens
  // (empty words). A `step` of 0 or more becomes the grow step first; a
  // negative one keeps it. A negative `n` is an invalid argument; more than
  // kMaxSize tokens is refused.
  void set_size(std::int64_t n, std::int32_t step = -1);

  // Adds a token of `text` with `separator` as its flag after the last one,
  // growing the token slots by the grow step. Past kMaxSize tokens or
  // kMaxBytes bytes of text it is refused, and the list stays as it was.
  void append(std::string_view text, std::uint8_t separator = 0) {
    if (ends_.size() < ends_.capacity() && text.size() <= room()) {
      text_.append(text);
      ends_.push_back(pack(text_.size(), separator));
    } else {
      append_growing(text, separator);
    }
  }

  // Empties the list and gives it the storage set_size(n, step) would give
  // an empty list, and room for `bytes` of text, so that `n` appends of that
  // much text follow without any growing.
  void reserve_for(std::int64_t n, std::int32_t step = -1, std::int64_t bytes = 0);

  // The token at `index`, with letter mask and signature when the list has
  // them; an index outside the list is an invalid argument (so for all
  // accessors below).
  WordToken element(std::int64_t index) const;
  std::string_view text(std::int64_t index) const {
    const std::size_t i = checked(index);
    const std::size_t start = start_of(i);
    return {text_.data() + start, end_of(i) - start};
  }
  // The text of a token this list handed out (a token that lies outside the
  // buffer is an invalid argument).
  std::string_view text(const WordToken& token) const;
  std::uint8_t separator(std::int64_t index) const {
    return static_cast<std::uint8_t>(ends_[checked(index)] >> 31);
  }
  // Sets the flag of token `index`. A flag that stays as it is is not
  // written: a token whose flag stays is only read, so two threads working
  // on neighbouring stretches never write what the other reads.
  void set_separator(std::int64_t index, std::uint8_t separator) {
    const std::size_t i = checked(index);
    const std::uint32_t packed = pack(end_of(i), separator);
    if (ends_[i] != packed) ends_[i] = packed;
  }
  // The signature of token `index` (0.0 in a list without signatures).
  double signature(std::int64_t index) const;

  // The bytes of token `index`, to be changed in place: a token keeps its
  // length. Valid until the list next grows.
  std::span<char> mutable_text(std::int64_t index) {
    const std::size_t i = checked(index);
    const std::size_t start = start_of(i);
    return {text_.data() + start, end_of(i) - start};
  }
  // Calls `visit(bytes)` for the bytes of every word token (flag 0) from
  // token `begin` to before `end`, in order, to be changed in place (a word
  // keeps its length): for scans of a whole text, without the checks and
  // look-ups of one token at a time. A range outside the list is an invalid
  // argument.
  template <typename Visit>
  void visit_words(std::int32_t begin, std::int32_t end, const Visit& visit) {
    if (begin < 0 || end < begin || end > size()) refuse_index();
    char* const text = text_.data();
    std::size_t start = begin == end ? 0 : start_of(static_cast<std::size_t>(begin));
    for (std::size_t i = static_cast<std::size_t>(begin); i < static_cast<std::size_t>(end); ++i) {
      const std::uint32_t packed = ends_[i];
      const std::size_t token_end = packed & kEndMask;
      if ((packed >> 31) == 0) visit(std::span<char>(text + start, token_end - start));
      start = token_end;
    }
  }

  // Writes `text`, which must be as long as token `index`, over its text.
  void overwrite(std::int64_t index, std::string_view text);

  // Makes this list a copy of `other`, its buffer made with room to spare
  // only for what it holds.
  void assign_copy(const TokenList& other);

  // Releases every token and the storage.
  void make_empty();

  // The texts of all tokens in order, with nothing between them: the buffer.
  std::string_view join() const { return text_; }

  // How the list's text is written back (the encoding of the file it came
  // from). Only set_encoding changes it; it is no part of ==.
  const TextEncoding& encoding() const { return encoding_; }
  void set_encoding(TextEncoding encoding) { encoding_ = std::move(encoding); }

  // Equal texts, flags and signatures, token by token.
  friend bool operator==(const TokenList& a, const TokenList& b);

 private:
  friend void tokenize(std::string text, TokenList& list, TokenizeOptions options);

  // A token's end in the buffer (31 bits) and its separator flag (bit 31).
  using Ends = std::vector<std::uint32_t, LargeBlockAllocator<std::uint32_t>>;
  static constexpr std::uint32_t kEndMask = 0x7FFFFFFFu;
  static std::uint32_t pack(std::size_t end, std::uint8_t separator) {
    return static_cast<std::uint32_t>(end) | (std::uint32_t{separator != 0} << 31);
  }
  std::size_t start_of(std::size_t index) const {
    return index == 0 ? 0 : ends_[index - 1] & kEndMask;
  }
  std::size_t end_of(std::size_t index) const { return ends_[index] & kEndMask; }
  std::size_t checked(std::int64_t index) const {
    if (index < 0 || index >= static_cast<std::int64_t>(ends_.size())) refuse_index();
    return static_cast<std::size_t>(index);
  }
  [[noreturn]] static void refuse_index();
  // The bytes of text the buffer may still take.
  std::size_t room() const { return static_cast<std::size_t>(kMaxBytes) - text_.size(); }
  void grow_storage(std::size_t n);
  void append_growing(std::string_view text, std::uint8_t separator);
  // Whether some token is long enough to have a signature.
  bool has_signed_token() const;

  std::string text_;
  Ends ends_;
  std::int32_t grow_step_ = 0;
  bool signatures_ = false;
  TextEncoding encoding_;
};

}  // namespace quirlex
