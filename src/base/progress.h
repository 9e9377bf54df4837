// How a long command reports where it stands. Each command names its own
// stages (lexicon/create_dictionary.h, index/load_dictionary.h) and, where it
// has one, a percentage; the texts that a window or a console shows for them
// are made by the front ends' shared layer, in one place.
#pragma once

#include <functional>

namespace quirlex {

// Called at the start of each stage of a command; `percentage` is -1, or the
// share of the stage done (0 to 99) for a stage that tells it.
template <typename Stage>
using Progress = std::function<void(Stage stage, int percentage)>;

}  // namespace quirlex
