#include "cli/progress_printer.h"

#include <unistd.h>

#include <string>

#include "app/command_texts.h"
#include "cli/console_output.h"
#include "text/windows1252.h"

namespace quirlex::cli {

ProgressPrinter::ProgressPrinter(std::FILE* out)
    : out_(out), terminal_(::isatty(::fileno(out)) != 0) {}

void ProgressPrinter::print(std::string_view text) {
  if (text.empty()) return;
  if (line_open_) std::fputc('\n', out_);
  line_open_ = false;
  const std::string plain = for_terminal(text);
  std::fwrite(plain.data(), 1, plain.size(), out_);
  std::fflush(out_);
}

void ProgressPrinter::on_progress(LexiconStage stage, int percentage, LexiconOrder order) {
  if (percentage < 0) print(texts::stage_line(stage, order));
}

void ProgressPrinter::on_progress(LoadStage stage, int percentage) {
  if (stage != LoadStage::kDeepWordList) {
    print(texts::stage_line(stage));
    return;
  }
  const std::string line = texts::deep_word_list_line(percentage);
  if (terminal_) {
    std::fprintf(out_, "\r%s", windows1252_to_utf8(line).c_str());
    line_open_ = true;
  } else if (percentage % 10 == 0) {
    std::fputs(for_terminal(line).c_str(), out_);
  }
  std::fflush(out_);
}

}  // namespace quirlex::cli
