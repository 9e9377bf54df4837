// Runs two pieces of work at once on the machine's two cores or more, for
// work that splits cleanly in two (two halves of a text, say). Each piece
// must touch only what the other does not.
#pragma once

#include <exception>
#include <functional>

namespace quirlex {

// Whether a second thread can help at all: false on a single processor.
bool second_thread_helps();

// Runs `first` on this thread and `second` on another at the same time and
// returns once both are done. Without a second thread (a single processor,
// or none can be started) `second` runs after `first`, unless `first` failed. A failure of either
// is thrown on, `first`'s when both fail.
void run_both(const std::function<void()>& first, const std::function<void()>& second);

}  // namespace quirlex
