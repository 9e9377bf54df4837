// The demo subcommand: the whole pipeline on the sample files, shown step by step.
#pragma once

#include "cli/arguments.h"

namespace quirlex::cli {

int run_demo(const Arguments& args);

}  // namespace quirlex::cli
