#!/usr/bin/env bash
# Sets up everything on a fresh machine, then builds and runs every test:
# once in a build with warnings as errors, once more under AddressSanitizer
# and UndefinedBehaviorSanitizer, the core's tests (without Qt) under
# ThreadSanitizer, then a short run of every fuzz target. Each stage says how
# long it took.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# Announces the next stage, and how long the one before took.
stage_start=$SECONDS
stage_name=
stage() {
  if [[ -n $stage_name ]]; then
    echo "== $stage_name: $((SECONDS - stage_start)) s" >&2
  fi
  stage_name=$1
  stage_start=$SECONDS
  [[ -z $stage_name ]] || echo "== $stage_name" >&2
}

stage "build with warnings as errors"
scripts/build.sh build/ci -DQUIRLEX_WERROR=ON
ctest --test-dir build/ci --output-on-failure -j "$jobs"

stage "build with AddressSanitizer and UndefinedBehaviorSanitizer"
scripts/build.sh build/sanitize -DQUIRLEX_WERROR=ON -DQUIRLEX_SANITIZE=ON -DQUIRLEX_BUILD_BENCH=OFF
ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1:strict_string_checks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

# Qt is left out: Debian's Qt libraries are not built for ThreadSanitizer,
# which then cannot see how they hand work between threads. The window's
# controller is tested here with stop requests from another thread.
stage "build of the core under ThreadSanitizer"
scripts/build.sh build/thread-sanitize -DQUIRLEX_WERROR=ON -DQUIRLEX_SANITIZE_THREAD=ON \
  -DQUIRLEX_BUILD_GUI=OFF -DQUIRLEX_BUILD_BENCH=OFF
# A report fails the test it happened in, in the test program or in a
# quirlex-cli the test started.
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir build/thread-sanitize --output-on-failure -j "$jobs"

if [[ -x scripts/fuzz.sh ]]; then
  stage "fuzz smoke run"
  scripts/fuzz.sh --smoke
fi
stage ""
echo "All tests passed." >&2
