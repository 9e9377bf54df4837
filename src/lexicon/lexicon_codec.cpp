#include "lexicon/lexicon_codec.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "base/failure.h"
#include "text/signature.h"
#include "text/tokenizer.h"
#include "text/word_byte_bits.h"

namespace quirlex {
namespace {

constexpr std::uint8_t kMarkerBase = 0x60;

// Eight bytes at a time: a lexicon of hundreds of thousands of words is
// encoded in one go.
std::size_t shared_count(std::string_view a, std::string_view b) {
  const std::size_t limit = std::min(a.size(), b.size());
  std::size_t n = 0;
  for (; n + 8 <= limit; n += 8) {
    const std::uint64_t differ = load8(a.data() + n) ^ load8(b.data() + n);
    if (differ == 0) continue;
    if constexpr (std::endian::native == std::endian::little) {
      return n + static_cast<std::size_t>(std::countr_zero(differ)) / 8;
    }
    break;
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

}  // namespace

bool is_storable_word(std::string_view word) {
  if (word.empty() || is_marker_byte(word.front())) return false;
  std::size_t at = 0;
  for (; at + 8 <= word.size(); at += 8) {
    if (word_byte_bits8(load8(word.data() + at)) != 0xFF) return false;
  }
  return std::none_of(word.begin() + static_cast<std::ptrdiff_t>(at), word.end(),
                      is_separator_byte);
}

std::string LexiconEncoder::encode(std::string_view word) {
  std::string entry;
  append(previous_, word, entry);
  previous_.assign(word);
  return entry;
}

void LexiconEncoder::append(std::string_view previous, std::string_view word,
                            std::string& entries) {
  if (!is_storable_word(word)) throw InvalidArgument();
  // Longer common beginnings are coded with the largest count a marker holds.
  const std::size_t n = std::min(shared_count(previous, word), kMaxSharedCount);
  if (n >= 2) {
    entries.push_back(static_cast<char>(kMarkerBase + n));
    entries.append(word.substr(n));
  } else {
    entries.append(word);
  }
}

std::string_view LexiconDecoder::decode(std::string_view entry) {
  if (entry.empty() || !is_marker_byte(entry.front()) || previous_.size() < 2) {
    previous_.assign(entry);
    return previous_;
  }
  const std::size_t n = static_cast<std::uint8_t>(entry.front()) - kMarkerBase;
  previous_.resize(std::min(n, previous_.size()));
  previous_.append(entry.substr(1));
  return previous_;
}

void read_lexicon_words(std::string text, TokenList& words) {
  words.make_empty();
  TokenList entries;
  tokenize(std::move(text), entries, {.drop_separators = true, .signatures = false});
  // Words are seldom much longer than their entries: room for twice the
  // entries' bytes is mostly enough at once.
  const std::int64_t bytes =
      std::min<std::int64_t>(2 * static_cast<std::int64_t>(entries.join().size()), TokenList::kMaxBytes);
  words.reserve_for(entries.size(), -1, bytes);
  LexiconDecoder decoder;
  for (std::int32_t i = 0; i < entries.size(); ++i) words.append(decoder.decode(entries.text(i)));
  words.set_signatures(true);
}

}  // namespace quirlex
