#include "lexicon/bigram_model.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <unordered_map>
#include <memory>
#include <tuple>
#include <utility>

#include "lexicon/lexicon_builder.h"
#include "text/signature.h"

namespace quirlex {
namespace {

constexpr std::uint64_t kFnvOffset = 0xCBF29CE484222325ULL;
constexpr std::uint64_t kFnvPrime = 0x100000001B3ULL;
constexpr std::uint32_t kBreakPairsFlag = 1;
constexpr std::uint32_t kCountedFlag = 2;

std::uint32_t flags_of(ShortWords rule) {
  return rule == ShortWords::kBreakPairs ? kBreakPairsFlag
         : rule == ShortWords::kCounted  ? kCountedFlag
                                         : 0;
}

std::uint64_t fnv1a(std::uint64_t hash, std::string_view bytes) {
  for (const char c : bytes) hash = (hash ^ static_cast<std::uint8_t>(c)) * kFnvPrime;
  return hash;
}

void put(std::string& out, std::uint64_t value, int bytes) {
  for (int k = 0; k < bytes; ++k) out += static_cast<char>((value >> (8 * k)) & 0xFF);
}

std::uint64_t get(std::string_view in, std::size_t at, int bytes) {
  std::uint64_t value = 0;
  for (int k = 0; k < bytes; ++k)
    value |= std::uint64_t{static_cast<std::uint8_t>(in[at + k])} << (8 * k);
  return value;
}

std::string records_of(std::span<const BigramPair> pairs) {
  std::string out;
  out.reserve(pairs.size() * BigramModel::kRecordSize);
  for (const BigramPair& p : pairs) {
    put(out, p.first, 4);
    put(out, p.second, 4);
    put(out, p.count, 4);
  }
  return out;
}

bool pair_before(const BigramPair& a, const BigramPair& b) {
  return std::tie(a.first, a.second) < std::tie(b.first, b.second);
}

// Which words of the builder share signature, length and first and last byte
// with another: only these can be restored wrongly for want of context.
std::vector<bool> tie_words(const LexiconBuilder& builder) {
  struct Key {
    double signature;
    std::uint32_t length;
    std::uint8_t first, last;
    std::uint32_t index;
    auto tied() const { return std::tie(signature, length, first, last); }
  };
  std::vector<Key> keys;
  keys.reserve(builder.word_count());
  for (std::size_t i = 0; i < builder.word_count(); ++i) {
    const std::string_view w = builder.word(i);
    keys.push_back({signature_of(w), static_cast<std::uint32_t>(w.size()),
                    static_cast<std::uint8_t>(w.front()), static_cast<std::uint8_t>(w.back()),
                    static_cast<std::uint32_t>(i)});
  }
  std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
    return std::tie(a.signature, a.length, a.first, a.last, a.index) <
           std::tie(b.signature, b.length, b.first, b.last, b.index);
  });
  std::vector<bool> tie(builder.word_count(), false);
  for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
    if (keys[k].tied() == keys[k + 1].tied()) tie[keys[k].index] = tie[keys[k + 1].index] = true;
  }
  return tie;
}

// Counts of word pairs by open addressing: a corpus has millions of distinct
// pairs, too many for a node per pair. Counts are 64-bit: a pair of a corpus
// of many gigabytes can be seen more than four billion times.
class PairCounts {
 public:
  void add(std::uint32_t first, std::uint32_t second) {
    if ((used_ + 1) * 2 > slots_.size()) grow();
    const std::uint64_t key = (std::uint64_t{first} << 32) | second;
    Slot& s = slots_[find(key)];
    if (s.count == 0) {
      s.key = key;
      ++used_;
    }
    ++s.count;
  }

  // The pairs counted at least `min_count` times, unordered; a count past
  // what the file's field holds as the largest it holds.
  std::vector<BigramPair> at_least(std::uint32_t min_count) const {
    std::vector<BigramPair> pairs;
    for (const Slot& s : slots_) {
      if (s.count >= min_count) {
        pairs.push_back({static_cast<std::uint32_t>(s.key >> 32),
                         static_cast<std::uint32_t>(s.key),
                         static_cast<std::uint32_t>(std::min<std::uint64_t>(s.count, UINT32_MAX))});
      }
    }
    return pairs;
  }

 private:
  struct Slot {
    std::uint64_t key = 0;
    std::uint64_t count = 0;  // 0: free
  };

  std::size_t find(std::uint64_t key) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ULL) >> 20) & mask;
    while (slots_[slot].count != 0 && slots_[slot].key != key) slot = (slot + 1) & mask;
    return slot;
  }

  void grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(std::max<std::size_t>(old.size() * 2, 1024), Slot{});
    for (const Slot& s : old) {
      if (s.count != 0) slots_[find(s.key)] = s;
    }
  }

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
};

}  // namespace

namespace {

// The lexicon hash so far, with the next word.
std::uint64_t hash_word(std::uint64_t hash, std::string_view word) {
  return fnv1a(fnv1a(hash, word), "\n");
}

}  // namespace

std::uint64_t lexicon_hash(const LexiconBuilder& builder) {
  std::uint64_t hash = kFnvOffset;
  for (std::size_t i = 0; i < builder.word_count(); ++i) hash = hash_word(hash, builder.word(i));
  return hash;
}

std::uint64_t lexicon_hash(const TokenList& words) {
  std::uint64_t hash = kFnvOffset;
  for (std::int32_t i = 0; i < words.size(); ++i) hash = hash_word(hash, words.text(i));
  return hash;
}

BigramModel::BigramModel(std::uint64_t lexicon_hash, std::uint32_t word_count, ShortWords rule,
                         std::vector<BigramPair> pairs, std::vector<std::string> short_words)
    : lexicon_hash_(lexicon_hash),
      word_count_(word_count),
      rule_(rule),
      short_words_(std::move(short_words)),
      pairs_(std::move(pairs)) {
  std::sort(pairs_.begin(), pairs_.end(), pair_before);
}

BigramModel BigramModel::count(const LexiconBuilder& builder, const TextPieces& pieces,
                               ShortWords rule, std::uint64_t max_file_bytes) {
  const std::vector<bool> tie = tie_words(builder);
  const auto word_count = static_cast<std::uint32_t>(builder.word_count());
  const auto is_tie = [&](std::int64_t index) { return index < word_count && tie[index]; };
  // Counted short words take indices after the lexicon's in order of
  // appearance first; the model's list of them is sorted at the end. A
  // short word is its length and bytes packed in a number (no word byte is
  // zero), looked up without a string compared.
  std::unordered_map<std::uint32_t, std::uint32_t> short_ids;
  std::vector<std::string> short_texts;
  PairCounts counts;
  std::int64_t previous = -1;
  builder.for_each_word_in_text(pieces, [&](std::int64_t index, std::string_view word) {
    if (index == LexiconBuilder::kShortWord) {
      if (rule == ShortWords::kSkipped) return;
      if (rule == ShortWords::kBreakPairs) {
        previous = -1;
        return;
      }
      std::uint32_t packed = 0;
      for (const char c : word) packed = (packed << 8) | static_cast<std::uint8_t>(c);
      const auto [found, added] = short_ids.try_emplace(
          packed, word_count + static_cast<std::uint32_t>(short_texts.size()));
      if (added) short_texts.emplace_back(word);
      index = found->second;
    }
    if (index >= 0 && previous >= 0 && (is_tie(previous) || is_tie(index))) {
      counts.add(static_cast<std::uint32_t>(previous), static_cast<std::uint32_t>(index));
    }
    previous = index;
  });

  BigramModel model;
  model.lexicon_hash_ = lexicon_hash(builder);
  model.word_count_ = static_cast<std::uint32_t>(builder.word_count());
  model.rule_ = rule;
  model.pairs_ = counts.at_least(kMinCount);
  // Each short word kept costs its four bytes as well: counted as a third of
  // a record, a bound no worse than that (a record names at most one).
  const std::uint64_t room =
      max_file_bytes > kHeaderSize
          ? (max_file_bytes - kHeaderSize) / (kRecordSize + kShortWordSize)
          : 0;
  if (model.pairs_.size() > room) {
    // The most frequent pairs that fit, and no pair of a count some pair
    // left out has: the smallest count kept is one above the first left out.
    std::vector<std::uint32_t> values;
    values.reserve(model.pairs_.size());
    for (const BigramPair& p : model.pairs_) values.push_back(p.count);
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(room),
                     values.end(), std::greater<>());
    model.min_count_ = values[room] + 1;
    std::erase_if(model.pairs_, [&](const BigramPair& p) { return p.count < model.min_count_; });
  }
  // The short words the kept pairs name, sorted, and the pairs renumbered.
  std::vector<std::uint32_t> kept;
  for (const BigramPair& p : model.pairs_) {
    for (const std::uint32_t index : {p.first, p.second}) {
      if (index >= word_count) kept.push_back(index);
    }
  }
  std::sort(kept.begin(), kept.end(), [&](std::uint32_t a, std::uint32_t b) {
    return short_texts[a - word_count] < short_texts[b - word_count];
  });
  kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
  std::vector<std::uint32_t> renumbered(short_texts.size());
  for (std::size_t k = 0; k < kept.size(); ++k) {
    renumbered[kept[k] - word_count] = word_count + static_cast<std::uint32_t>(k);
    model.short_words_.emplace_back(short_texts[kept[k] - word_count]);
  }
  for (BigramPair& p : model.pairs_) {
    if (p.first >= word_count) p.first = renumbered[p.first - word_count];
    if (p.second >= word_count) p.second = renumbered[p.second - word_count];
  }
  std::sort(model.pairs_.begin(), model.pairs_.end(), pair_before);
  return model;
}

std::string BigramModel::serialize() const {
  std::string body;
  for (const std::string& word : short_words_) {
    body += word;
    body.append(kShortWordSize - word.size(), '\0');
  }
  body += records_of(pairs_);
  std::string out(kMagic);
  put(out, lexicon_hash_, 8);
  put(out, word_count_, 4);
  put(out, flags_of(rule_), 4);
  put(out, min_count_, 4);
  put(out, short_words_.size(), 4);
  put(out, pairs_.size(), 4);
  put(out, fnv1a(kFnvOffset, body), 8);
  return out + body;
}

std::int64_t BigramModel::short_word_index(std::string_view upper) const {
  const auto found = std::lower_bound(short_words_.begin(), short_words_.end(), upper);
  return found != short_words_.end() && *found == upper
             ? word_count_ + (found - short_words_.begin())
             : -1;
}

BigramModel BigramModel::parse(std::string_view bytes, std::uint64_t lexicon_hash,
                               std::uint32_t word_count, const std::string& file_name) {
  const auto refuse = [&](const char* problem) { throw BigramFileError(file_name, problem); };
  const std::size_t head = std::min(bytes.size(), kMagic.size());
  if (bytes.substr(0, head) != kMagic.substr(0, head)) {
    refuse("not a bigram file of this program (or of another version)");
  }
  if (bytes.size() < kHeaderSize) refuse("the bigram file is truncated");
  std::size_t at = kMagic.size();
  const auto field = [&](int size) {
    const std::uint64_t value = get(bytes, at, size);
    at += static_cast<std::size_t>(size);
    return value;
  };
  BigramModel model;
  model.lexicon_hash_ = field(8);
  model.word_count_ = static_cast<std::uint32_t>(field(4));
  const std::uint64_t flags = field(4);
  model.min_count_ = static_cast<std::uint32_t>(field(4));
  const std::uint64_t short_count = field(4);
  const std::uint64_t pair_count = field(4);
  const std::uint64_t checksum = field(8);
  const std::uint64_t expected_size =
      kHeaderSize + kShortWordSize * short_count + kRecordSize * pair_count;
  if (bytes.size() < expected_size) refuse("the bigram file is truncated");
  const bool known_rule = flags == 0 || flags == kBreakPairsFlag || flags == kCountedFlag;
  if (bytes.size() > expected_size || !known_rule ||
      (short_count != 0 && flags != kCountedFlag)) {
    refuse("the bigram file is damaged");
  }
  if (model.lexicon_hash_ != lexicon_hash || model.word_count_ != word_count) {
    refuse("the bigram file was made from another lexicon; create the dictionary again");
  }
  if (fnv1a(kFnvOffset, bytes.substr(kHeaderSize)) != checksum) refuse("the bigram file is damaged");
  model.rule_ = flags == kBreakPairsFlag ? ShortWords::kBreakPairs
                : flags == kCountedFlag  ? ShortWords::kCounted
                                         : ShortWords::kSkipped;
  // A sound checksum over contents that break the rules: made by another
  // writer, and not to be trusted.
  for (std::size_t k = 0; k < short_count; ++k) {
    std::string_view word = bytes.substr(kHeaderSize + k * kShortWordSize, kShortWordSize);
    word = word.substr(0, word.find('\0'));
    if (word.empty() || word.size() >= kShortWordSize ||
        std::any_of(word.begin(), word.end(), [](char c) { return static_cast<std::uint8_t>(c) < 0x40; }) ||
        (!model.short_words_.empty() && !(model.short_words_.back() < word))) {
      refuse("the bigram file is damaged");
    }
    model.short_words_.emplace_back(word);
  }
  const std::uint64_t index_limit = word_count + short_count;
  const std::string_view records = bytes.substr(kHeaderSize + kShortWordSize * short_count);
  model.pairs_.reserve(pair_count);
  for (std::size_t r = 0; r < pair_count; ++r) {
    const std::size_t base = r * kRecordSize;
    const BigramPair pair{static_cast<std::uint32_t>(get(records, base, 4)),
                          static_cast<std::uint32_t>(get(records, base + 4, 4)),
                          static_cast<std::uint32_t>(get(records, base + 8, 4))};
    if (pair.first >= index_limit || pair.second >= index_limit || pair.count == 0 ||
        (!model.pairs_.empty() && !pair_before(model.pairs_.back(), pair))) {
      refuse("the bigram file is damaged");
    }
    model.pairs_.push_back(pair);
  }
  return model;
}

std::uint32_t BigramModel::count(std::uint32_t first, std::uint32_t second) const {
  const BigramPair key{first, second, 0};
  const auto found = std::lower_bound(pairs_.begin(), pairs_.end(), key, pair_before);
  return found != pairs_.end() && found->first == first && found->second == second ? found->count
                                                                                    : 0;
}

BigramModel read_bigram_file(const std::string& path, std::uint64_t lexicon_hash,
                             std::uint32_t word_count) {
  const auto closer = [](std::FILE* f) { std::fclose(f); };
  const std::unique_ptr<std::FILE, decltype(closer)> file(std::fopen(path.c_str(), "rb"), closer);
  if (!file) {
    throw BigramFileError(path, std::string("cannot open the bigram file (") +
                                    std::strerror(errno) + ")");
  }
  std::string bytes;
  char buffer[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    bytes.append(buffer, got);
    // No model of a lexicon this program can load comes near this size.
    if (bytes.size() > (std::uint64_t{1} << 32)) {
      throw BigramFileError(path, "the bigram file is damaged");
    }
  }
  if (std::ferror(file.get())) {
    throw BigramFileError(path, std::string("cannot read the bigram file (") +
                                    std::strerror(errno) + ")");
  }
  return BigramModel::parse(bytes, lexicon_hash, word_count, path);
}

void write_bigram_file(const std::string& path, const BigramModel& model) {
  const std::string bytes = model.serialize();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw FileError(path, errno);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int write_error = errno;
  if (std::fclose(file) != 0 || !written) throw FileError(path, written ? errno : write_error);
}

}  // namespace quirlex
