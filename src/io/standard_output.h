// Writing to the program's standard output instead of a file. The bytes go
// through the C library's buffer, which the program's other lines on
// standard output share, so that everything comes out in the order it was
// written. A failure is a FileError naming "standard output".
#pragma once

#include <string_view>

namespace quirlex {

void write_standard_output(std::string_view bytes);

// Hands everything written so far on to the system.
void flush_standard_output();

}  // namespace quirlex
