// Fuzzes the bigram file format. Any bytes read as the bigram file of a
// lexicon give either a BigramFileError naming the file, exactly when the
// plain reader of fuzz/reference.cpp refuses them too, or the very model
// that reader reads, which writes back to the same bytes. And a model made of
// any pairs and short words, written and read back, is the same model, in
// the bytes the plain reader expects.
//
// Input format: the first byte chooses.
//   Bit 7 clear: the rest is the file. The lexicon it is checked against is,
//   by the first byte modulo 4: 0 and 1 the one the file's header names (so
//   that most inputs come past that check), 2 that one with one word more, 3
//   a fixed one.
//   Bit 7 set: a model to write and read back, read front to back (bytes
//   past the end read as 0): the lexicon hash (8 bytes), its word count (2),
//   the rule (1, modulo 3); with the rule that counts short words their
//   number (1, modulo 16), each a length byte (1 to 3) and its bytes (made
//   upper-case word bytes); then pairs while bytes remain, each first and
//   second (2 each, modulo the number of indices) and a count (4, 0 read as 1).
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lexicon/bigram_file.h"
#include "lexicon/bigram_model.h"
#include "reference.h"
#include "text/case_map.h"

namespace {

using quirlex::BigramModel;
using quirlex::BigramPair;
using quirlex::ShortWords;
using quirlex::fuzz::ReferenceBigrams;

// The program's reader and writer of the format, called only here.
BigramModel read_model(std::string_view bytes, std::uint64_t lexicon_hash, std::uint32_t word_count,
                       const std::string& file_name) {
  return quirlex::parse_bigram_file(bytes, lexicon_hash, word_count, file_name);
}
std::string model_bytes(const BigramModel& model) {
  return quirlex::bigram_file_bytes(model);
}

constexpr const char* kFileName = "lexicon.dic.bigrams";

std::uint32_t flags_of(ShortWords rule) {
  return rule == ShortWords::kBreakPairs ? 1 : rule == ShortWords::kCounted ? 2 : 0;
}

bool same_model(const BigramModel& model, const ReferenceBigrams& expected) {
  if (model.lexicon_hash_value() != expected.lexicon_hash ||
      model.word_count() != expected.word_count || flags_of(model.rule()) != expected.flags ||
      model.min_count() != expected.min_count ||
      model.short_words().size() != expected.short_words.size() ||
      model.pairs().size() != expected.pairs.size()) {
    return false;
  }
  for (std::size_t k = 0; k < expected.short_words.size(); ++k) {
    if (model.short_words()[k] != expected.short_words[k]) return false;
  }
  for (std::size_t r = 0; r < expected.pairs.size(); ++r) {
    const BigramPair& p = model.pairs()[r];
    if (p.first != expected.pairs[r][0] || p.second != expected.pairs[r][1] ||
        p.count != expected.pairs[r][2]) {
      return false;
    }
  }
  return true;
}

class Input {
 public:
  explicit Input(std::string_view bytes) : bytes_(bytes) {}
  bool at_end() const { return at_ >= bytes_.size(); }
  std::uint64_t number(int size) {
    std::uint64_t value = 0;
    for (int k = 0; k < size; ++k) {
      const std::uint64_t byte = at_end() ? 0 : static_cast<std::uint8_t>(bytes_[at_++]);
      value |= byte << (8 * k);
    }
    return value;
  }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

void check_file(std::uint8_t choice, std::string_view file) {
  std::uint64_t lexicon_hash = 0x0123456789ABCDEFULL;
  std::uint32_t word_count = 1000;
  if (choice % 4 != 3 && file.size() >= quirlex::kBigramHeaderSize) {
    Input header(file.substr(quirlex::kBigramMagic.size()));
    lexicon_hash = header.number(8);
    word_count = static_cast<std::uint32_t>(header.number(4)) + (choice % 4 == 2 ? 1 : 0);
  }
  const std::optional<ReferenceBigrams> expected =
      quirlex::fuzz::reference_read_bigrams(file, lexicon_hash, word_count);
  try {
    const BigramModel model = read_model(file, lexicon_hash, word_count, kFileName);
    FUZZ_CHECK(expected.has_value());
    FUZZ_CHECK(same_model(model, *expected));
    FUZZ_CHECK(model_bytes(model) == file);
  } catch (const quirlex::BigramFileError& error) {
    FUZZ_CHECK(!expected.has_value());
    FUZZ_CHECK(error.message().starts_with(std::string(kFileName) + ": "));
  }
}

void check_round_trip(std::string_view bytes) {
  Input input(bytes);
  ReferenceBigrams expected;
  expected.lexicon_hash = input.number(8);
  expected.word_count = static_cast<std::uint32_t>(input.number(2));
  expected.flags = static_cast<std::uint32_t>(input.number(1) % 3);
  expected.min_count = BigramModel::kMinCount;
  const ShortWords rule = expected.flags == 1   ? ShortWords::kBreakPairs
                          : expected.flags == 2 ? ShortWords::kCounted
                                                : ShortWords::kSkipped;
  std::set<std::string> short_words;
  if (rule == ShortWords::kCounted) {
    for (std::uint64_t n = input.number(1) % 16; n > 0; --n) {
      std::string word(static_cast<std::size_t>(input.number(1) % 3 + 1), ' ');
      for (char& c : word) c = quirlex::upper_char(static_cast<char>(input.number(1) | 0x40));
      short_words.insert(word);
    }
  }
  expected.short_words.assign(short_words.begin(), short_words.end());
  const std::uint64_t indices = expected.word_count + short_words.size();
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> pairs;
  while (indices > 0 && !input.at_end()) {
    const auto first = static_cast<std::uint32_t>(input.number(2) % indices);
    const auto second = static_cast<std::uint32_t>(input.number(2) % indices);
    const auto count = static_cast<std::uint32_t>(input.number(4));
    pairs[{first, second}] = count == 0 ? 1 : count;
  }
  std::vector<BigramPair> model_pairs;
  for (const auto& [pair, count] : pairs) {
    expected.pairs.push_back({pair.first, pair.second, count});
    // Handed over out of order: the model sorts them.
    model_pairs.insert(model_pairs.begin() + static_cast<std::ptrdiff_t>(model_pairs.size() / 2),
                       {pair.first, pair.second, count});
  }
  const BigramModel model(expected.lexicon_hash, expected.word_count, rule, model_pairs,
                          expected.short_words);
  FUZZ_CHECK(same_model(model, expected));
  const std::string file = model_bytes(model);
  FUZZ_CHECK(file == quirlex::fuzz::reference_bigram_bytes(expected));
  FUZZ_CHECK(file.size() == quirlex::bigram_file_size(model));
  FUZZ_CHECK(quirlex::fuzz::reference_read_bigrams(file, expected.lexicon_hash,
                                                   expected.word_count) == expected);
  FUZZ_CHECK(same_model(read_model(file, expected.lexicon_hash, expected.word_count, kFileName),
                        expected));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  if ((data[0] & 0x80) != 0) {
    check_round_trip(rest);
  } else {
    check_file(data[0], rest);
  }
  return 0;
}
