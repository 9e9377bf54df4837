#include "lexicon/bigram_file.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <utility>
#include <vector>

#include "base/hash_mix.h"
#include "io/file_output.h"
#include "lexicon/model_file.h"
#include "text/case_map.h"

namespace quirlex {
namespace {

constexpr std::uint32_t kBreakPairsFlag = 1;
constexpr std::uint32_t kCountedFlag = 2;

std::uint32_t flags_of(ShortWords rule) {
  return rule == ShortWords::kBreakPairs ? kBreakPairsFlag
         : rule == ShortWords::kCounted  ? kCountedFlag
                                         : 0;
}

std::string records_of(std::span<const BigramPair> pairs) {
  std::string out;
  out.reserve(pairs.size() * kBigramRecordSize);
  for (const BigramPair& p : pairs) {
    put_number(out, p.first, 4);
    put_number(out, p.second, 4);
    put_number(out, p.count, 4);
  }
  return out;
}

}  // namespace

std::string bigram_file_bytes(const BigramModel& model) {
  std::string body;
  for (const std::string& word : model.short_words()) {
    body += word;
    body.append(kBigramShortWordSize - word.size(), '\0');
  }
  body += records_of(model.pairs());
  std::string out(kBigramMagic);
  put_number(out, model.lexicon_hash_value(), 8);
  put_number(out, model.word_count(), 4);
  put_number(out, flags_of(model.rule()), 4);
  put_number(out, model.min_count(), 4);
  put_number(out, model.short_words().size(), 4);
  put_number(out, model.pairs().size(), 4);
  put_number(out, fnv1a(kFnv1aStart, body), 8);
  return out + body;
}

BigramModel parse_bigram_file(std::string_view bytes, std::uint64_t lexicon_hash,
                              std::uint32_t word_count, const std::string& file_name) {
  const auto refuse = [&](const char* problem) { throw BigramFileError(file_name, problem); };
  const std::size_t head = std::min(bytes.size(), kBigramMagic.size());
  if (bytes.substr(0, head) != kBigramMagic.substr(0, head)) {
    refuse("not a bigram file of this program (or of another version)");
  }
  if (bytes.size() < kBigramHeaderSize) refuse("the bigram file is truncated");
  std::size_t at = kBigramMagic.size();
  const auto field = [&](int size) {
    const std::uint64_t value = get_number(bytes, at, size);
    at += static_cast<std::size_t>(size);
    return value;
  };
  const std::uint64_t file_lexicon_hash = field(8);
  const auto file_word_count = static_cast<std::uint32_t>(field(4));
  const std::uint64_t flags = field(4);
  const auto min_count = static_cast<std::uint32_t>(field(4));
  const std::uint64_t short_count = field(4);
  const std::uint64_t pair_count = field(4);
  const std::uint64_t checksum = field(8);
  const std::uint64_t expected_size =
      kBigramHeaderSize + kBigramShortWordSize * short_count + kBigramRecordSize * pair_count;
  if (bytes.size() < expected_size) refuse("the bigram file is truncated");
  const bool known_rule = flags == 0 || flags == kBreakPairsFlag || flags == kCountedFlag;
  if (bytes.size() > expected_size || !known_rule ||
      (short_count != 0 && flags != kCountedFlag)) {
    refuse("the bigram file is damaged");
  }
  if (file_lexicon_hash != lexicon_hash || file_word_count != word_count) {
    refuse("the bigram file was made from another lexicon; create the dictionary again");
  }
  if (fnv1a(kFnv1aStart, bytes.substr(kBigramHeaderSize)) != checksum) {
    refuse("the bigram file is damaged");
  }
  const ShortWords rule = flags == kBreakPairsFlag ? ShortWords::kBreakPairs
                          : flags == kCountedFlag  ? ShortWords::kCounted
                                                   : ShortWords::kSkipped;
  // A sound checksum over contents that break the rules: made by another
  // writer, and not to be trusted.
  std::vector<std::string> short_words;
  for (std::size_t k = 0; k < short_count; ++k) {
    // One to three upper-cased word bytes, and zero bytes for the rest.
    const std::string_view padded =
        bytes.substr(kBigramHeaderSize + k * kBigramShortWordSize, kBigramShortWordSize);
    const std::string_view word = padded.substr(0, padded.find('\0'));
    if (word.empty() || word.size() >= kBigramShortWordSize ||
        padded.find_first_not_of('\0', word.size()) != std::string_view::npos ||
        std::any_of(word.begin(), word.end(),
                    [](char c) {
                      return static_cast<std::uint8_t>(c) < 0x40 || upper_char(c) != c;
                    }) ||
        (!short_words.empty() && !(short_words.back() < word))) {
      refuse("the bigram file is damaged");
    }
    short_words.emplace_back(word);
  }
  const std::uint64_t index_limit = word_count + short_count;
  const std::string_view records =
      bytes.substr(kBigramHeaderSize + kBigramShortWordSize * short_count);
  std::vector<BigramPair> pairs;
  pairs.reserve(pair_count);
  for (std::size_t r = 0; r < pair_count; ++r) {
    const std::size_t base = r * kBigramRecordSize;
    const BigramPair pair{static_cast<std::uint32_t>(get_number(records, base, 4)),
                          static_cast<std::uint32_t>(get_number(records, base + 4, 4)),
                          static_cast<std::uint32_t>(get_number(records, base + 8, 4))};
    if (pair.first >= index_limit || pair.second >= index_limit || pair.count == 0 ||
        (!pairs.empty() && !pair_before(pairs.back(), pair))) {
      refuse("the bigram file is damaged");
    }
    pairs.push_back(pair);
  }
  return BigramModel(file_lexicon_hash, file_word_count, rule, std::move(pairs),
                     std::move(short_words), min_count);
}

BigramModel read_bigram_file(const std::string& path, std::uint64_t lexicon_hash,
                             std::uint32_t word_count) {
  return parse_bigram_file(model_file_bytes<BigramFileError>(path, "bigram"), lexicon_hash,
                           word_count, path);
}

void write_bigram_file(const std::string& path, const BigramModel& model) {
  FileOutput output(path);
  output.write(bigram_file_bytes(model));
  output.commit();
}

}  // namespace quirlex
