#include "lexicon/count_file.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <span>
#include <system_error>
#include <vector>

namespace quirlex {
namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

bool is_number(std::string_view text) {
  if (text.empty()) return false;
  for (const char c : text) {
    if (!is_digit(c)) return false;
  }
  return true;
}

// Where the leading blanks and the digits after them end, in that order.
std::size_t digits_after_blanks(std::string_view line, std::size_t& digits_begin) {
  std::size_t at = 0;
  while (at < line.size() && is_blank(line[at])) ++at;
  digits_begin = at;
  while (at < line.size() && is_digit(line[at])) ++at;
  return at;
}

// Whether the line begins with a count followed by a blank or its end, as
// `uniq -c` writes it.
bool starts_with_count(std::string_view line) {
  std::size_t begin = 0;
  const std::size_t end = digits_after_blanks(line, begin);
  return end > begin && (end == line.size() || is_blank(line[end]));
}

const char* form_name(CountForm form) {
  switch (form) {
    case CountForm::kWordCount:
      return "WORD<TAB>COUNT";
    case CountForm::kCountWord:
      return "COUNT WORD";
    case CountForm::kRankWordCount:
      return "RANK<TAB>WORD<TAB>COUNT";
  }
  return "";
}

std::string quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  return "\"" + std::string(text.substr(0, kShown)) + (text.size() > kShown ? "...\"" : "\"");
}

std::uint64_t number_of(std::string_view field, const char* what, const std::string& file_name,
                        std::uint64_t line_number) {
  const std::string_view digits = trimmed(field);
  if (!is_number(digits)) {
    throw CountFileError(file_name, line_number,
                         std::string("the ") + what + " " + quoted(digits) + " is not a number.");
  }
  std::uint64_t value = 0;
  for (const char c : digits) {
    const auto digit = static_cast<std::uint64_t>(c - '0');
    if (value > (UINT64_MAX - digit) / 10) {
      throw CountFileError(file_name, line_number,
                           std::string("the ") + what + " " + quoted(digits) +
                               " is too large (at most " + std::to_string(UINT64_MAX) + ").");
    }
    value = value * 10 + digit;
  }
  return value;
}

// A line longer than this is refused: no count file has one, and a text
// without line feeds given by mistake would else be held whole.
constexpr std::size_t kMostLineBytes = std::size_t{16} << 20;

// Checks the lines of a count file and hands them to the builder as they
// are (their counts' digits and blanks separate words), a piece at a time.
class CountReader {
 public:
  CountReader(LexiconBuilder& builder, const std::string& file_name, SpellingCounter* spellings)
      : builder_(builder), file_name_(file_name), spellings_(spellings) {}

  // Takes the next piece of the file's text; a line may run on into the next.
  void add(std::string& piece) {
    std::size_t at = 0;
    if (!partial_.empty()) {
      const void* end = std::memchr(piece.data(), '\n', piece.size());
      const std::size_t length =
          end == nullptr ? piece.size()
                         : static_cast<std::size_t>(static_cast<const char*>(end) - piece.data());
      if (partial_.size() + length > kMostLineBytes) refuse_long_line();
      partial_.append(piece, 0, length);
      if (end == nullptr) return;
      partial_ += '\n';
      count_lines(partial_.data(), partial_.size());
      partial_.clear();
      at = length + 1;
    }
    const std::size_t last = piece.rfind('\n');
    if (last != std::string::npos && last >= at) {
      count_lines(piece.data() + at, last + 1 - at);
      at = last + 1;
    }
    if (piece.size() - at > kMostLineBytes) refuse_long_line();
    partial_.assign(piece, at);
  }

  // The file has ended, perhaps without a line feed after its last line.
  void finish() {
    if (partial_.empty()) return;
    partial_ += '\n';
    count_lines(partial_.data(), partial_.size());
    partial_.clear();
  }

 private:
  // Checks the whole lines of `size` bytes at `lines` (the last ended by a
  // line feed) and counts their words.
  void count_lines(char* lines, std::size_t size) {
    times_.clear();
    for (std::size_t at = 0; at < size;) {
      const std::size_t end =
          static_cast<std::size_t>(static_cast<const char*>(std::memchr(lines + at, '\n', size - at)) - lines);
      times_.push_back(count_of(std::string_view(lines + at, end - at)));
      at = end + 1;
    }
    builder_.add_counted(lines, size, times_);
  }

  // The count of a line; 0 for a blank one.
  std::uint64_t count_of(std::string_view line) {
    ++line_number_;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (trimmed(line).empty()) return 0;
    if (!form_) {
      form_ = form_of_line(line);
      if (!form_) {
        throw CountFileError(file_name_, line_number_,
                             "none of the forms WORD<TAB>COUNT, COUNT WORD and "
                             "RANK<TAB>WORD<TAB>COUNT.");
      }
    }
    const CountLine read = read_count_line(line, *form_, file_name_, line_number_);
    if (spellings_ != nullptr && read.count != 0) spellings_->add_counted(read.word, read.count);
    return read.count;
  }

  [[noreturn]] void refuse_long_line() const {
    throw CountFileError(file_name_, line_number_ + 1,
                         "longer than " + std::to_string(kMostLineBytes) + " bytes.");
  }

  LexiconBuilder& builder_;
  const std::string& file_name_;
  SpellingCounter* spellings_;
  std::optional<CountForm> form_;
  std::uint64_t line_number_ = 0;
  // The beginning of a line the last piece cut.
  std::string partial_;
  std::vector<std::uint64_t> times_;
};

}  // namespace

CountFileError::CountFileError(const std::string& file_name, std::uint64_t line,
                               const std::string& problem)
    : Failure(file_name + ", line " + std::to_string(line) + ": " + problem),
      file_name_(file_name),
      line_(line) {}

std::optional<CountForm> form_of_line(std::string_view line) {
  // Blanks before a count mark `uniq -c`; a word list would not begin so.
  if (!line.empty() && is_blank(line.front()) && starts_with_count(line)) {
    return CountForm::kCountWord;
  }
  const std::size_t last_tab = line.rfind('\t');
  if (last_tab != std::string_view::npos && is_number(trimmed(line.substr(last_tab + 1)))) {
    const std::size_t first_tab = line.find('\t');
    if (first_tab != last_tab && is_number(trimmed(line.substr(0, first_tab)))) {
      return CountForm::kRankWordCount;
    }
    return CountForm::kWordCount;
  }
  if (starts_with_count(line)) return CountForm::kCountWord;
  return std::nullopt;
}

CountLine read_count_line(std::string_view line, CountForm form, const std::string& file_name,
                          std::uint64_t line_number) {
  const auto not_of_form = [&] {
    return CountFileError(file_name, line_number,
                          std::string("not of the form ") + form_name(form) +
                              " that the lines before have.");
  };
  switch (form) {
    case CountForm::kWordCount: {
      const std::size_t tab = line.rfind('\t');
      if (tab == std::string_view::npos) throw not_of_form();
      return {line.substr(0, tab), number_of(line.substr(tab + 1), "count", file_name, line_number)};
    }
    case CountForm::kRankWordCount: {
      const std::size_t first = line.find('\t');
      const std::size_t last = line.rfind('\t');
      if (first == std::string_view::npos || first == last) throw not_of_form();
      number_of(line.substr(0, first), "rank", file_name, line_number);
      return {line.substr(first + 1, last - first - 1),
              number_of(line.substr(last + 1), "count", file_name, line_number)};
    }
    case CountForm::kCountWord: {
      std::size_t begin = 0;
      std::size_t end = digits_after_blanks(line, begin);
      // A count that is no number runs up to the first blank.
      while (end < line.size() && !is_blank(line[end])) ++end;
      const std::uint64_t count =
          number_of(line.substr(begin, end - begin), "count", file_name, line_number);
      return {end < line.size() ? line.substr(end + 1) : std::string_view(), count};
    }
  }
  throw not_of_form();
}

bool add_count_file(LexiconBuilder& builder, const std::string& path, ReadEncoding encoding,
                    std::stop_token stop, std::size_t piece_size, SpellingCounter* spellings) {
  TextStream stream;
  if (!stream.open(path, {.encoding = encoding, .piece_size = piece_size})) return false;
  // Lines of a count file are some fourteen bytes long, each another word.
  constexpr std::uintmax_t kLineBytes = 14;
  constexpr std::uintmax_t kMostWords = std::uintmax_t{1} << 24;
  std::error_code no_size;
  const std::uintmax_t bytes = std::filesystem::file_size(path, no_size);
  if (!no_size) builder.expect_words(static_cast<std::size_t>(std::min(bytes / kLineBytes, kMostWords)));
  CountReader reader(builder, path, spellings);
  std::string piece;
  while (true) {
    if (stop.stop_requested()) throw Stopped();
    if (!stream.next(piece)) break;
    reader.add(piece);
  }
  reader.finish();
  return true;
}

}  // namespace quirlex
