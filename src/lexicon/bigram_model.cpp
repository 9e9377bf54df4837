#include "lexicon/bigram_model.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
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
// pairs, too many for a node per pair.
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

  // The pairs counted at least `min_count` times, unordered.
  std::vector<BigramPair> at_least(std::uint32_t min_count) const {
    std::vector<BigramPair> pairs;
    for (const Slot& s : slots_) {
      if (s.count >= min_count) {
        pairs.push_back({static_cast<std::uint32_t>(s.key >> 32),
                         static_cast<std::uint32_t>(s.key), s.count});
      }
    }
    return pairs;
  }

 private:
  struct Slot {
    std::uint64_t key = 0;
    std::uint32_t count = 0;  // 0: free
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

std::uint64_t lexicon_hash(const TokenList& words) {
  std::uint64_t hash = kFnvOffset;
  for (const WordToken& word : words) hash = fnv1a(fnv1a(hash, word.text), "\n");
  return hash;
}

BigramModel::BigramModel(std::uint64_t lexicon_hash, std::uint32_t word_count,
                         ShortWords short_words, std::vector<BigramPair> pairs)
    : lexicon_hash_(lexicon_hash),
      word_count_(word_count),
      short_words_(short_words),
      pairs_(std::move(pairs)) {
  std::sort(pairs_.begin(), pairs_.end(), pair_before);
}

BigramModel BigramModel::count(const LexiconBuilder& builder, ShortWords short_words,
                               std::uint64_t max_file_bytes) {
  const std::vector<bool> tie = tie_words(builder);
  PairCounts counts;
  std::int64_t previous = -1;
  builder.for_each_word_in_text([&](std::int64_t index) {
    if (index == LexiconBuilder::kShortWord) {
      if (short_words == ShortWords::kBreakPairs) previous = -1;
      return;
    }
    if (index >= 0 && previous >= 0 && (tie[previous] || tie[index])) {
      counts.add(static_cast<std::uint32_t>(previous), static_cast<std::uint32_t>(index));
    }
    previous = index;
  });

  BigramModel model;
  TokenList words;
  words.reserve_for(static_cast<std::int64_t>(builder.word_count()));
  for (std::size_t i = 0; i < builder.word_count(); ++i)
    words.append(WordToken::from_text(std::string(builder.word(i)), false));
  model.lexicon_hash_ = lexicon_hash(words);
  model.word_count_ = static_cast<std::uint32_t>(builder.word_count());
  model.short_words_ = short_words;
  model.pairs_ = counts.at_least(kMinCount);
  const std::uint64_t room =
      max_file_bytes > kHeaderSize ? (max_file_bytes - kHeaderSize) / kRecordSize : 0;
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
  std::sort(model.pairs_.begin(), model.pairs_.end(), pair_before);
  return model;
}

std::string BigramModel::serialize() const {
  const std::string records = records_of(pairs_);
  std::string out(kMagic);
  put(out, lexicon_hash_, 8);
  put(out, word_count_, 4);
  put(out, short_words_ == ShortWords::kBreakPairs ? kBreakPairsFlag : 0, 4);
  put(out, min_count_, 4);
  put(out, pairs_.size(), 4);
  put(out, fnv1a(kFnvOffset, records), 8);
  return out + records;
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
  const std::uint64_t pair_count = field(4);
  const std::uint64_t checksum = field(8);
  const std::uint64_t expected_size = kHeaderSize + kRecordSize * pair_count;
  if (bytes.size() < expected_size) refuse("the bigram file is truncated");
  if (bytes.size() > expected_size || (flags & ~std::uint64_t{kBreakPairsFlag}) != 0) {
    refuse("the bigram file is damaged");
  }
  if (model.lexicon_hash_ != lexicon_hash || model.word_count_ != word_count) {
    refuse("the bigram file was made from another lexicon; create the dictionary again");
  }
  const std::string_view records = bytes.substr(kHeaderSize);
  if (fnv1a(kFnvOffset, records) != checksum) refuse("the bigram file is damaged");
  model.short_words_ = (flags & kBreakPairsFlag) != 0 ? ShortWords::kBreakPairs : ShortWords::kSkipped;
  model.pairs_.reserve(pair_count);
  for (std::size_t r = 0; r < pair_count; ++r) {
    const std::size_t base = r * kRecordSize;
    const BigramPair pair{static_cast<std::uint32_t>(get(records, base, 4)),
                          static_cast<std::uint32_t>(get(records, base + 4, 4)),
                          static_cast<std::uint32_t>(get(records, base + 8, 4))};
    // A sound checksum over records that break the rules: made by another
    // writer, and not to be trusted.
    if (pair.first >= word_count || pair.second >= word_count || pair.count == 0 ||
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
