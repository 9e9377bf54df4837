// Prints the progress of a long command on standard error: its lines as
// they come, and the deep word list's percentage overwritten in place on a
// terminal (every tenth percent elsewhere, so logs stay short).
#pragma once

#include <cstdio>
#include <string_view>

#include "base/progress.h"
#include "index/load_dictionary.h"
#include "lexicon/create_dictionary.h"

namespace quirlex::cli {

class ProgressPrinter {
 public:
  explicit ProgressPrinter(std::FILE* out);

  // Prints a line (or text) of progress, CR LF as line feeds.
  void print(std::string_view text);
  // The progress callbacks of the core commands: Create Dictionary's lines
  // name the lexicon's `order`; shares within a stage are not printed.
  void on_progress(LexiconStage stage, int percentage, LexiconOrder order);
  void on_progress(LoadStage stage, int percentage);
  Progress<LexiconStage> callback(LexiconOrder order) {
    return [this, order](LexiconStage stage, int percentage) {
      on_progress(stage, percentage, order);
    };
  }
  template <typename Stage>
  Progress<Stage> callback() {
    return [this](Stage stage, int percentage) { on_progress(stage, percentage); };
  }

 private:
  std::FILE* out_;
  bool terminal_ = false;
  bool line_open_ = false;  // a percentage line was printed without a line end
};

}  // namespace quirlex::cli
