// Fuzzes the letter model file format. Any bytes read as the letter model
// file of a lexicon give either a LetterModelFileError naming the file,
// exactly when the plain reader of fuzz/reference.cpp refuses them too, or
// the very model that reader reads, which writes back to the same bytes and
// gives probabilities without a NaN. And the model of any small corpus,
// counted as Create Dictionary counts it, has the grams and spellings the
// plain count gives, and written and read back, is the same model, in the
// bytes the plain reader expects.
//
// Input format: the first byte chooses.
//   Bit 7 clear: the rest is the file. The lexicon it is checked against is,
//   by the first byte modulo 4: 0 and 1 the one the file's header names (so
//   that most inputs come past that check), 2 that one with one word more, 3
//   a fixed one.
//   Bit 7 set: the first byte's low bits modulo 5, plus 2, are the model's
//   order; the rest is the corpus, read by a LexiconBuilder as Create
//   Dictionary's frequency order reads it, in pieces of 1 to 16 bytes (bits
//   3 to 6, plus one).
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "lexicon/bigram_model.h"
#include "lexicon/letter_model.h"
#include "lexicon/letter_model_file.h"
#include "lexicon/lexicon_builder.h"
#include "lexicon/spelling_counter.h"
#include "reference.h"
#include "text/case_map.h"

namespace {

using quirlex::LetterGram;
using quirlex::LetterModel;
using quirlex::Spelling;
using quirlex::fuzz::ReferenceLetters;

constexpr const char* kFileName = "lexicon.dic.letters";
// Set by QUIRLEX_FUZZ_TRACE in the environment: each file read tells what
// came of it on stderr.
const bool trace = std::getenv("QUIRLEX_FUZZ_TRACE") != nullptr;
constexpr std::size_t kHeaderSize = quirlex::kLetterModelMagic.size() + 8 + 4 * 4 + 8;

// The fields of a model as the file states them.
ReferenceLetters fields_of(const LetterModel& model) {
  ReferenceLetters fields;
  fields.lexicon_hash = model.lexicon_hash_value();
  fields.word_count = model.word_count();
  fields.order = static_cast<std::uint32_t>(model.order());
  for (const LetterGram& g : model.grams()) {
    fields.grams.emplace_back(g.key, std::bit_cast<std::uint32_t>(g.weight));
  }
  for (const Spelling& s : model.spellings()) fields.spellings.emplace_back(s.text, s.count);
  return fields;
}

std::uint64_t number_at(std::string_view bytes, std::size_t at, std::size_t size) {
  std::uint64_t value = 0;
  for (std::size_t k = size; k > 0; --k) {
    value = value * 256 + static_cast<std::uint8_t>(bytes[at + k - 1]);
  }
  return value;
}

// The log-probabilities after each of `histories` are numbers (the model
// may be any file's), and with `sound` add up to one: every weight and
// continuation count is above the discount.
void check_probabilities(const LetterModel& model,
                         const std::vector<std::vector<std::uint8_t>>& histories, bool sound) {
  std::array<float, quirlex::kLetterSymbols> row{};
  for (const std::vector<std::uint8_t>& history : histories) {
    model.log_probabilities(history, row);
    double sum = 0.0;
    for (const float p : row) {
      FUZZ_CHECK(!std::isnan(p) && p <= 1e-4f);
      sum += std::exp(static_cast<double>(p));
    }
    if (sound) FUZZ_CHECK(std::fabs(sum - 1.0) <= 1e-3);
  }
}

// The spellings of the model are found by their upper-cased texts.
void check_spellings_found(const LetterModel& model) {
  for (const Spelling& s : model.spellings()) {
    std::string upper = s.text;
    quirlex::upper_case(upper);
    const auto found = model.spellings_of(upper);
    FUZZ_CHECK(std::find(found.begin(), found.end(), s) != found.end());
  }
}

void check_file(std::uint8_t choice, std::string_view file) {
  std::uint64_t lexicon_hash = 0x0123456789ABCDEFULL;
  std::uint32_t word_count = 1000;
  if (choice % 4 != 3 && file.size() >= kHeaderSize) {
    const std::size_t at = quirlex::kLetterModelMagic.size();
    lexicon_hash = number_at(file, at, 8);
    word_count = static_cast<std::uint32_t>(number_at(file, at + 8, 4)) + (choice % 4 == 2 ? 1 : 0);
  }
  const std::optional<ReferenceLetters> expected =
      quirlex::fuzz::reference_read_letters(file, lexicon_hash, word_count);
  try {
    const LetterModel model =
        quirlex::parse_letter_model_file(file, lexicon_hash, word_count, kFileName);
    FUZZ_CHECK(expected.has_value());
    FUZZ_CHECK(fields_of(model) == *expected);
    FUZZ_CHECK(quirlex::letter_model_file_bytes(model) == file);
    // Histories of the first grams: each without its last symbol, the
    // lower levels' as well.
    std::vector<std::vector<std::uint8_t>> histories{{}, {0}};
    for (std::size_t g = 0; g < model.grams().size() && g < 8; ++g) {
      const std::uint32_t key = model.grams()[g].key;
      const int length = quirlex::letter_gram_length(key, model.order());
      std::vector<std::uint8_t> history;
      for (int k = length - 1; k >= 1; --k) {
        history.push_back(static_cast<std::uint8_t>((key >> (5 * k)) & 31u));
      }
      histories.push_back(std::move(history));
    }
    check_probabilities(model, histories, false);
    check_spellings_found(model);
    if (trace) std::fprintf(stderr, "read: %zu grams, %zu spellings\n", model.grams().size(), model.spellings().size());
  } catch (const quirlex::LetterModelFileError& error) {
    FUZZ_CHECK(!expected.has_value());
    FUZZ_CHECK(error.message().starts_with(std::string(kFileName) + ": "));
    if (trace) std::fprintf(stderr, "refused: %s\n", error.message().c_str());
  }
}

void check_round_trip(std::uint8_t choice, std::string_view corpus) {
  const int order = LetterModel::kMinOrder + (choice & 7) % 5;
  const std::size_t piece_size = ((choice >> 3) & 15u) + 1;
  quirlex::LexiconBuilder builder(1);
  builder.trim_word_ends();
  quirlex::SpellingCounter spellings;
  for (std::size_t at = 0; at < corpus.size(); at += piece_size) {
    std::string piece(corpus.substr(at, piece_size));
    spellings.add(piece);
    builder.add_text(piece);
  }
  builder.finish();
  builder.put_in_order(quirlex::LexiconOrder::kFrequency);
  const LetterModel model = LetterModel::count(builder, spellings.finish(), order);

  // The words and grams the plain way; the weights to float precision, as
  // the sums of equal grams may be taken in any order.
  const std::string text(corpus);
  const auto words = quirlex::fuzz::reference_counted_words_by_count(text);
  std::uint64_t hash = quirlex::fuzz::reference_fnv1a("");
  for (const auto& [word, count] : words) hash = quirlex::fuzz::reference_fnv1a(word + "\n", hash);
  FUZZ_CHECK(model.lexicon_hash_value() == hash && model.lexicon_hash_value() == quirlex::lexicon_hash(builder));
  FUZZ_CHECK(model.word_count() == words.size() && model.order() == order);
  const std::map<std::uint32_t, double> grams = quirlex::fuzz::reference_letter_grams(words, order);
  FUZZ_CHECK(model.grams().size() == grams.size());
  auto expected = grams.begin();
  for (const LetterGram& g : model.grams()) {
    FUZZ_CHECK(g.key == expected->first);
    FUZZ_CHECK(std::fabs(static_cast<double>(g.weight) - expected->second) <= 1e-5 * expected->second);
    ++expected;
  }
  const ReferenceLetters fields = fields_of(model);
  FUZZ_CHECK(fields.spellings == quirlex::fuzz::reference_spellings(text));

  const std::string file = quirlex::letter_model_file_bytes(model);
  FUZZ_CHECK(file == quirlex::fuzz::reference_letter_bytes(fields));
  FUZZ_CHECK(quirlex::fuzz::reference_read_letters(file, hash, model.word_count()) == fields);
  const LetterModel read = quirlex::parse_letter_model_file(file, hash, model.word_count(), kFileName);
  FUZZ_CHECK(fields_of(read) == fields);

  // Every word's histories, from its start on, as the letter search asks.
  std::vector<std::vector<std::uint8_t>> histories;
  for (std::size_t w = 0; w < words.size() && w < 8; ++w) {
    std::vector<std::uint8_t> history{0};
    histories.push_back(history);
    for (const char c : words[w].first) {
      history.push_back(static_cast<std::uint8_t>(quirlex::fuzz::reference_letter_symbol(c)));
      histories.push_back(history);
    }
  }
  check_probabilities(read, histories, true);
  check_spellings_found(read);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  if ((data[0] & 0x80) != 0) {
    check_round_trip(data[0], rest);
  } else {
    check_file(data[0], rest);
  }
  return 0;
}
