// Word-count files as a source of the lexicon: a corpus counted elsewhere
// (by `sort | uniq -c`, a database's GROUP BY, a published frequency list)
// gives one word a line with how often it appears. Each line is taken as
// corpus text that appears that often, so a count file of a corpus gives the
// lexicon of the corpus itself, in every order (in order of appearance when
// the file lists its words in the order they first appear).
//
// A file's lines are all of one form, the one its first line that is not
// blank has:
//   WORD<TAB>COUNT
//   COUNT WORD             (as `uniq -c` writes it, blanks before the count)
//   RANK<TAB>WORD<TAB>COUNT
// Lines may end in CR LF; blank lines are skipped, and blanks around a count
// or a rank do not matter. Counts are decimal numbers below 2^64.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "base/failure.h"
#include "lexicon/lexicon_builder.h"
#include "lexicon/spelling_counter.h"
#include "text/text_encoding.h"
#include "text/text_stream.h"

namespace quirlex {

// A line of a count file that is not of the file's form, or whose count or
// rank is no number. The text names the file and the line.
class CountFileError : public Failure {
 public:
  CountFileError(const std::string& file_name, std::uint64_t line, const std::string& problem);
  const std::string& file_name() const { return file_name_; }
  std::uint64_t line() const { return line_; }

 private:
  std::string file_name_;
  std::uint64_t line_;
};

enum class CountForm {
  kWordCount,      // WORD<TAB>COUNT
  kCountWord,      // COUNT WORD
  kRankWordCount,  // RANK<TAB>WORD<TAB>COUNT
};

// The form of a line that is not blank (without its line end), or nothing
// when it has none of them.
std::optional<CountForm> form_of_line(std::string_view line);

// One line read in its file's form: the text of its word and its count.
struct CountLine {
  std::string_view word;
  std::uint64_t count = 0;
};

// Reads `line` (not blank, without its line end) in `form`; a line that is
// not of that form, or whose count or rank is no number, is a
// CountFileError with `file_name` and `line_number`.
CountLine read_count_line(std::string_view line, CountForm form, const std::string& file_name,
                          std::uint64_t line_number);

// Reads the count file at `path` (UTF-8 or Windows-1252 as `encoding`
// decides, umlauts spelled out) into `builder`, after what it was given
// before: every word counted as often as its line says, equal words of all
// sources added up, first appearing in line order. False when the file
// cannot be opened. A malformed line is a CountFileError, a stop request a
// Stopped failure (checked between pieces of `piece_size` bytes); either
// may come after some lines were counted, so the builder must then be
// given up. With `spellings`, the spellings of its words with capitals
// inside are counted there too, as often as their lines say.
bool add_count_file(LexiconBuilder& builder, const std::string& path,
                    ReadEncoding encoding = ReadEncoding::kAuto, std::stop_token stop = {},
                    std::size_t piece_size = 0, SpellingCounter* spellings = nullptr);

}  // namespace quirlex
