// Fuzzes the reading of text files: encodings, umlaut transliteration and
// upper-casing. The first input byte chooses transliteration (bit 0),
// upper-casing (bit 1), whether the text goes through TextFile::read on a
// real file (bit 2) or straight through transliterate_umlauts and
// upper_case, and whether it is read as Windows-1252 bytes (bit 3 clear), by
// the encoding rule (bits 3) or always as UTF-8 (bits 3 and 4). The text must
// end at its first NUL byte, be converted as the reference decoder does and
// written back to its very bytes, then grow by one byte per umlaut, hold no
// umlaut byte afterwards, and give back every other byte unchanged
// (upper-cased when asked) in its order.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "reference.h"
#include "scratch_folder.h"
#include "text/case_map.h"
#include "text/text_encoding.h"
#include "text/text_file.h"
#include "text/transliteration.h"

namespace {

std::string g_folder;
std::string g_file;

// Whether `out` is `in` (up to its first NUL) with every umlaut spelled out
// and, when asked, every byte upper-cased, walking both in step.
bool is_expansion_of(const std::string& in, const std::string& out, bool transliterate,
                     bool upper) {
  const auto apply_case = [upper](char c) { return upper ? quirlex::upper_char(c) : c; };
  std::size_t at = 0;
  for (const char c : in) {
    if (c == '\0') break;
    const char* spelling = transliterate ? quirlex::fuzz::umlaut_spelling(c) : nullptr;
    if (spelling != nullptr) {
      if (at + 2 > out.size()) return false;
      if (out[at] != apply_case(spelling[0]) || out[at + 1] != apply_case(spelling[1])) {
        return false;
      }
      at += 2;
    } else {
      if (at >= out.size() || out[at] != apply_case(c)) return false;
      ++at;
    }
  }
  return at == out.size();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_folder = quirlex::fuzz::make_scratch_folder();
  g_file = g_folder + "/text.txt";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool transliterate = (data[0] & 1) != 0;
  const bool upper = (data[0] & 2) != 0;
  const bool through_file = (data[0] & 4) != 0;
  const bool by_encoding = (data[0] & 8) != 0;
  const bool force_utf8 = (data[0] & 16) != 0;
  const quirlex::ReadEncoding choice =
      !by_encoding ? quirlex::ReadEncoding::kWindows1252
                   : (force_utf8 ? quirlex::ReadEncoding::kUtf8 : quirlex::ReadEncoding::kAuto);
  const std::string raw(reinterpret_cast<const char*>(data) + 1, size - 1);

  // The text as converted before umlauts are spelled out: the reference's,
  // and it writes back to the bytes it came from.
  std::string input = raw.substr(0, raw.find('\0'));
  const quirlex::TextEncoding encoding = quirlex::decode_text(input, choice);
  if (by_encoding) {
    const auto reference = quirlex::fuzz::reference_decode_text(raw.substr(0, raw.find('\0')),
                                                                force_utf8);
    FUZZ_CHECK((encoding.encoding == quirlex::Encoding::kUtf8) == reference.utf8);
    FUZZ_CHECK(input == reference.text);
    FUZZ_CHECK(std::vector<char32_t>(encoding.kept().begin(), encoding.kept().end()) ==
               reference.kept);
    quirlex::TextEncoder encoder(encoding);
    std::string back(encoder.preamble());
    back += encoder.encode(input);
    FUZZ_CHECK(back == raw.substr(0, raw.find('\0')));
  } else {
    FUZZ_CHECK(encoding.encoding == quirlex::Encoding::kWindows1252);
  }

  std::string out;
  if (through_file) {
    quirlex::fuzz::put_file(g_file, raw);
    quirlex::TextFile file;
    FUZZ_CHECK(file.read(g_file, {.encoding = choice, .spell_out_umlauts = transliterate, .upper_case = upper}));
    FUZZ_CHECK(file.is_open());
    out = file.content();
    // A failed read closes the file and keeps the text of the last one.
    FUZZ_CHECK(!file.read(g_folder + "/missing.txt",
                          {.encoding = choice, .spell_out_umlauts = transliterate, .upper_case = upper}));
    FUZZ_CHECK(!file.is_open());
    FUZZ_CHECK(file.content() == out);
  } else {
    out = input.substr(0, input.find('\0'));
    if (transliterate) quirlex::transliterate_umlauts(out);
    if (upper) quirlex::upper_case(out);
  }

  const std::size_t length =
      input.find('\0') == std::string::npos ? input.size() : input.find('\0');
  std::size_t umlauts = 0;
  for (std::size_t i = 0; i < length; ++i)
    umlauts += quirlex::fuzz::umlaut_spelling(input[i]) != nullptr;
  FUZZ_CHECK(out.size() == length + (transliterate ? umlauts : 0));
  if (transliterate) {
    for (const char c : out) FUZZ_CHECK(quirlex::fuzz::umlaut_spelling(c) == nullptr);
  }
  FUZZ_CHECK(is_expansion_of(input, out, transliterate, upper));
  if (transliterate && !upper) FUZZ_CHECK(out == quirlex::fuzz::reference_transliterate(input));

  // Case mapping never moves a byte across 0x40, so it never moves a word
  // boundary; small letters a to z always become capitals.
  for (std::size_t i = 0; i < length; ++i) {
    const char c = input[i];
    const char mapped = quirlex::upper_char(c);
    FUZZ_CHECK(quirlex::fuzz::is_word_byte(c) == quirlex::fuzz::is_word_byte(mapped));
    FUZZ_CHECK(quirlex::fuzz::is_word_byte(c) ==
               quirlex::fuzz::is_word_byte(quirlex::lower_char(c)));
    if (c >= 'a' && c <= 'z') FUZZ_CHECK(mapped == c - 0x20);
    FUZZ_CHECK(quirlex::upper_char(quirlex::lower_char(mapped)) == mapped);
  }
  return 0;
}
