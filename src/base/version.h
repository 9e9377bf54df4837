// The program's version, one string for every place that shows it: the About
// box, the window's title, `quirlex-cli --version` and the Debian package
// (the top-level CMakeLists.txt reads it from this file). A macro, so that
// the texts around it stay string literals.
#pragma once

#define QUIRLEX_VERSION "1.1b"
