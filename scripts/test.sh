#!/usr/bin/env bash
# Sets up everything on a fresh machine, then builds and runs every test:
# once in a build with warnings as errors, once more under AddressSanitizer
# and UndefinedBehaviorSanitizer, then a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== build with warnings as errors" >&2
scripts/build.sh build/ci -DQUIRLEX_WERROR=ON
ctest --test-dir build/ci --output-on-failure -j "$jobs"

echo "== build with AddressSanitizer and UndefinedBehaviorSanitizer" >&2
scripts/build.sh build/sanitize -DQUIRLEX_WERROR=ON -DQUIRLEX_SANITIZE=ON -DQUIRLEX_BUILD_BENCH=OFF
ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1:strict_string_checks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

if [[ -x scripts/fuzz.sh ]]; then
  echo "== fuzz smoke run" >&2
  scripts/fuzz.sh --smoke
fi
echo "All tests passed." >&2
