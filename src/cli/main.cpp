// quirlex-cli: the Quirlex commands for scripts and terminals.
#include <string>
#include <vector>

#include "cli/commands.h"

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  return quirlex::cli::run_program(words);
}
