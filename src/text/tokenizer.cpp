#include "text/tokenizer.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "base/bit_count.h"
#include "base/helper_thread.h"
#include "base/limits.h"
#include "text/case_map.h"
#include "text/word_byte_bits.h"

namespace quirlex {
namespace {

constexpr std::int32_t kTokenizerGrowStep = 1000;

}  // namespace

void replace_all(std::string& text, std::string_view old_text, std::string_view new_text) {
  if (old_text.empty()) return;
  if (old_text.size() == 1 && new_text.size() == 1) {
    std::replace(text.begin(), text.end(), old_text[0], new_text[0]);
    return;
  }
  std::string result;
  std::size_t from = 0;
  for (std::size_t at = text.find(old_text); at != std::string::npos;
       at = text.find(old_text, from)) {
    result.append(text, from, at - from);
    result.append(new_text);
    from = at + old_text.size();
  }
  if (from == 0) return;
  result.append(text, from, std::string::npos);
  text = std::move(result);
}

namespace {

// From this size on a text kept with its separators is split in two halves
// at once: a text of a hundred megabytes has some thirty million tokens.
constexpr std::size_t kTwoThreadsFrom = std::size_t{1} << 22;

// Calls `emit(start, end, is_separator)` for every token of `piece` in order:
// runs of separator bytes and runs of word bytes. A token ends where a
// byte's kind differs from the byte before it (before the piece: a
// separator). At the text's start a word byte first gives an empty
// separator token; a later piece begins right after a separator run that
// the piece before it has, so there it gives none.
template <typename Emit>
void for_each_token(std::string_view piece, bool text_start, const Emit& emit) {
  const std::size_t length = piece.size();
  std::size_t start = 0;
  std::uint64_t before = 0;  // the kind of the byte before the block, at bit 63
  for (std::size_t block = 0; block < length; block += 64) {
    const std::uint64_t word =
        word_byte_bits(piece.data() + block, std::min<std::size_t>(length - block, 64));
    for (std::uint64_t changes = word ^ ((word << 1) | (before >> 63)); changes != 0;
         changes &= changes - 1) {
      const std::size_t end = block + static_cast<std::size_t>(std::countr_zero(changes));
      if (end == 0 && !text_start) continue;
      // The run that ends here is of the other kind than the byte at `end`.
      emit(start, end, !is_separator_byte(piece[end]));
      start = end;
    }
    before = word;  // only a full block has a block after it
  }
  if (start < length) emit(start, length, is_separator_byte(piece[length - 1]));
}

std::int64_t count_words(std::string_view piece) {
  std::int64_t count = 0;
  for_each_token(piece, true,
                 [&](std::size_t, std::size_t, bool separator) { count += !separator; });
  return count;
}

// Where the tokens of a text kept with separators end, 64 bytes at a time:
// bit k of `ends` is set where the kind of byte k differs from the kind of
// the byte before it (before the piece: a separator), for the bytes of the
// block only; `word` marks the block's word bytes.
struct TokenEnds {
  std::uint64_t word;
  std::uint64_t ends;
};

// Calls `visit(block, bits)` for each 64-byte block of `piece` in order.
// Past the text's start a piece begins with a word byte right after a
// separator, whose token the piece before it ends: that end is left out.
template <typename Visit>
void for_each_block(std::string_view piece, bool text_start, const Visit& visit) {
  const std::size_t length = piece.size();
  std::uint64_t before = 0;  // the kind of the byte before the block, at bit 63
  for (std::size_t block = 0; block < length; block += 64) {
    const std::size_t rest = length - block;
    const std::uint64_t word = rest >= 64 ? word_byte_bits64(piece.data() + block)
                                          : word_byte_bits(piece.data() + block, rest);
    std::uint64_t ends = word ^ ((word << 1) | (before >> 63));
    if (rest < 64) ends &= (std::uint64_t{1} << rest) - 1;
    if (block == 0 && !text_start) ends &= ~std::uint64_t{1};
    visit(block, TokenEnds{word, ends});
    before = word;
  }
}

// The tokens of a piece kept with separators: one for each end within it
// and the run the piece ends with.
std::int64_t count_kept_tokens(std::string_view piece, bool text_start) {
  std::int64_t count = 1;
  for_each_block(piece, text_start,
                 [&](std::size_t, const TokenEnds& bits) { count += count_bits(bits.ends); });
  return count;
}

// Writes the tokens of a piece kept with separators, which begins at
// `offset` in the text, from `slot` on.
void fill_kept_tokens(std::string_view piece, bool text_start, std::size_t offset,
                      std::uint32_t* slot) {
  for_each_block(piece, text_start, [&](std::size_t block, const TokenEnds& bits) {
    const std::uint32_t at = static_cast<std::uint32_t>(offset + block);
    for (std::uint64_t ends = bits.ends; ends != 0; ends &= ends - 1) {
      const auto bit = static_cast<unsigned>(std::countr_zero(ends));
      // The run that ends before a word byte is a separator run.
      *slot++ = (at + bit) | static_cast<std::uint32_t>((bits.word >> bit) & 1) << 31;
    }
  });
  *slot = static_cast<std::uint32_t>(offset + piece.size()) |
          std::uint32_t{is_separator_byte(piece.back())} << 31;
}

// Where a text kept with separators is split in two: the first word byte
// after a separator from the middle on; the text's size when there is none.
std::size_t split_point(std::string_view text) {
  for (std::size_t at = std::max<std::size_t>(text.size() / 2, 1); at < text.size(); ++at) {
    if (!is_separator_byte(text[at]) && is_separator_byte(text[at - 1])) return at;
  }
  return text.size();
}

}  // namespace

void tokenize(std::string text, TokenList& list, TokenizeOptions options) {
  if (text.empty()) return;
  if (text.size() > static_cast<std::size_t>(TokenList::kMaxBytes)) {
    throw limit_failures::too_many_text_bytes();
  }
  if (options.replace_slash_and_quote) {
    replace_all(text, "/", "@");
    replace_all(text, "\"", "^");
  }
  TokenList::Ends& ends = list.ends_;
  char* const data = text.data();
  std::size_t last_start = 0;
  std::size_t used = text.size();
  if (!options.drop_separators) {
    // Nothing moves: the tokens' ends are where the kind of byte changes,
    // counted first so that the token slots are allocated once at their
    // final number. A large text is split in two halves at once, each
    // counted and then made in its own part of the slots.
    const std::size_t split =
        text.size() < kTwoThreadsFrom || !second_thread_helps() ? text.size() : split_point(text);
    const std::string_view first(data, split);
    const std::string_view second(data + split, text.size() - split);
    std::int64_t first_count = 0;
    std::int64_t second_count = 0;
    if (second.empty()) {
      first_count = count_kept_tokens(first, true);
    } else {
      run_both([&] { first_count = count_kept_tokens(first, true); },
               [&] { second_count = count_kept_tokens(second, false); });
    }
    list.reserve_for(first_count + second_count, kTokenizerGrowStep);
    failing_as_out_of_memory(
        [&] { ends.resize(static_cast<std::size_t>(first_count + second_count)); });
    if (second.empty()) {
      fill_kept_tokens(first, true, 0, ends.data());
    } else {
      run_both([&] { fill_kept_tokens(first, true, 0, ends.data()); },
               [&] { fill_kept_tokens(second, false, split, ends.data() + first_count); });
    }
    if (ends.size() > 1) last_start = ends[ends.size() - 2] & TokenList::kEndMask;
  } else {
    // Counted first, so that the token slots are allocated once at their
    // final number. The words move together to the front, so the text
    // stays the tokens' joined texts.
    list.reserve_for(count_words(text), kTokenizerGrowStep);
    used = 0;
    for_each_token(text, true, [&](std::size_t start, std::size_t end, bool separator) {
      if (separator) return;
      const std::size_t length = end - start;
      if (used != start) std::memmove(data + used, data + start, length);
      last_start = used;
      used += length;
      ends.push_back(TokenList::pack(used, 0));
    });
  }
  // The last token of a text is stored in capitals when asked (unless it was
  // a separator left out).
  const bool last_kept = !(options.drop_separators && is_separator_byte(text.back()));
  if (options.upper_case_last && !ends.empty() && last_kept) {
    upper_case({data + last_start, used - last_start});
  }
  text.resize(used);
  list.text_ = std::move(text);
  list.signatures_ = options.signatures;
}

}  // namespace quirlex
