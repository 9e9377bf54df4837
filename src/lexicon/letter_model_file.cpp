#include "lexicon/letter_model_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <utility>
#include <vector>

#include "base/hash_mix.h"
#include "lexicon/model_file.h"

namespace quirlex {
namespace {

constexpr std::size_t kHeaderSize = kLetterModelMagic.size() + 8 + 4 + 4 + 4 + 4 + 8;
constexpr std::size_t kGramSize = 8;

std::uint64_t body_hash(std::string_view bytes) {
  return fnv1a(kFnv1aStart, bytes);
}

// Reads numbers from the front of a file's bytes; reading past the end is
// reported, not done.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool has(std::size_t n) const { return bytes_.size() - at_ >= n; }
  std::uint64_t number(int size) {
    const std::uint64_t value = get_number(bytes_, at_, size);
    at_ += static_cast<std::size_t>(size);
    return value;
  }
  std::string_view take(std::size_t n) {
    const std::string_view part = bytes_.substr(at_, n);
    at_ += n;
    return part;
  }
  std::size_t left() const { return bytes_.size() - at_; }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

bool has_repeated_text(const std::vector<Spelling>& spellings) {
  std::vector<std::string_view> texts;
  texts.reserve(spellings.size());
  for (const Spelling& s : spellings) texts.push_back(s.text);
  std::sort(texts.begin(), texts.end());
  return std::adjacent_find(texts.begin(), texts.end()) != texts.end();
}

}  // namespace

std::string letter_model_file_bytes(const LetterModel& model) {
  std::string body;
  body.reserve(model.grams().size() * kGramSize);
  for (const LetterGram& g : model.grams()) {
    put_number(body, g.key, 4);
    put_number(body, std::bit_cast<std::uint32_t>(g.weight), 4);
  }
  for (const Spelling& s : model.spellings()) {
    put_number(body, s.text.size(), 1);
    body += s.text;
    put_number(body, s.count, 4);
  }
  std::string out(kLetterModelMagic);
  put_number(out, model.lexicon_hash_value(), 8);
  put_number(out, model.word_count(), 4);
  put_number(out, static_cast<std::uint32_t>(model.order()), 4);
  put_number(out, model.grams().size(), 4);
  put_number(out, model.spellings().size(), 4);
  put_number(out, body_hash(body), 8);
  return out + body;
}

LetterModel parse_letter_model_file(std::string_view bytes, std::uint64_t lexicon_hash,
                                    std::uint32_t word_count, const std::string& file_name) {
  const auto refuse = [&](const char* problem) { throw LetterModelFileError(file_name, problem); };
  const std::size_t head = std::min(bytes.size(), kLetterModelMagic.size());
  if (bytes.substr(0, head) != kLetterModelMagic.substr(0, head)) {
    refuse("not a letter model file of this program (or of another version)");
  }
  if (bytes.size() < kHeaderSize) refuse("the letter model file is truncated");
  Reader in(bytes.substr(kLetterModelMagic.size()));
  const std::uint64_t hash = in.number(8);
  const auto words = static_cast<std::uint32_t>(in.number(4));
  const std::uint64_t order = in.number(4);
  const std::uint64_t gram_count = in.number(4);
  const std::uint64_t spelling_count = in.number(4);
  const std::uint64_t checksum = in.number(8);
  // Every spelling takes at least six bytes.
  if (in.left() < gram_count * kGramSize + spelling_count * 6) {
    refuse("the letter model file is truncated");
  }
  if (order < static_cast<std::uint64_t>(LetterModel::kMinOrder) ||
      order > static_cast<std::uint64_t>(LetterModel::kMaxOrder)) {
    refuse("the letter model file is damaged");
  }
  if (hash != lexicon_hash || words != word_count) {
    refuse("the letter model file was made from another lexicon; create the dictionary again");
  }
  // The parts as far as the bytes reach, then the checksum, then the rules
  // they keep: a sound checksum over contents that break the rules was
  // made by another writer, and is not to be trusted.
  std::vector<LetterGram> grams;
  grams.reserve(gram_count);
  for (std::uint64_t g = 0; g < gram_count; ++g) {
    const auto key = static_cast<std::uint32_t>(in.number(4));
    grams.push_back({key, std::bit_cast<float>(static_cast<std::uint32_t>(in.number(4)))});
  }
  std::vector<Spelling> spellings;
  for (std::uint64_t s = 0; s < spelling_count; ++s) {
    if (!in.has(1)) refuse("the letter model file is truncated");
    const auto length = static_cast<std::size_t>(in.number(1));
    if (!in.has(length + 4)) refuse("the letter model file is truncated");
    std::string text(in.take(length));
    spellings.push_back({std::move(text), static_cast<std::uint32_t>(in.number(4))});
  }
  if (in.left() != 0 || body_hash(bytes.substr(kHeaderSize)) != checksum) {
    refuse("the letter model file is damaged");
  }
  const std::uint64_t key_limit = std::uint64_t{1} << (5 * order);
  for (std::size_t g = 0; g < grams.size(); ++g) {
    if (grams[g].key >= key_limit || !std::isfinite(grams[g].weight) || grams[g].weight < 1.0f ||
        (g > 0 && grams[g].key <= grams[g - 1].key)) {
      refuse("the letter model file is damaged");
    }
  }
  for (const Spelling& spelling : spellings) {
    if (spelling.text.empty() || spelling.count == 0) refuse("the letter model file is damaged");
  }
  LetterModel model(hash, words, static_cast<int>(order), std::move(grams), spellings);
  // Our writer gives the spellings in the model's order, each once: a file
  // in another order would not write back as it was read.
  if (!std::ranges::equal(model.spellings(), spellings) || has_repeated_text(spellings)) {
    refuse("the letter model file is damaged");
  }
  return model;
}

LetterModel read_letter_model_file(const std::string& path, std::uint64_t lexicon_hash,
                                   std::uint32_t word_count) {
  return parse_letter_model_file(model_file_bytes<LetterModelFileError>(path, "letter model"),
                                 lexicon_hash, word_count, path);
}

}  // namespace quirlex
