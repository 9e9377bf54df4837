#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#
# Usage: scripts/fuzz.sh [--smoke | --time SECONDS] [--no-build] [TARGET...]
#   --smoke        about 24 seconds per target on a scratch corpus (for CI)
#   --time SECONDS seconds per target (default 600)
#   --no-build     use the targets already built in build/fuzz
#   TARGET         tokenizer, reader, text_stream, lexicon_decoder,
#                  lexicon_round_trip, bigram_file, letter_model_file,
#                  command_sequence (default: all of them, one after another)
#
# The committed seeds in fuzz/corpus/TARGET are only read. A long run keeps
# what it learns in fuzz/corpus-work/corpus/TARGET for the next run; a smoke
# run starts from the seeds alone each time. Crash inputs and logs go to
# fuzz/corpus-work/ (not under version control), the targets' temporary
# folders to /dev/shm where it exists. Prints per target the executions and
# the time; fails when any target finds a crash, a sanitizer report, a broken
# invariant, a hang or a leak.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

all_targets=(tokenizer reader text_stream lexicon_decoder lexicon_round_trip bigram_file
  letter_model_file command_sequence)
seconds=600
smoke=0
build=1
targets=()
while (($# > 0)); do
  case $1 in
    --smoke) smoke=1; seconds=24 ;;
    --time)
      if [[ $# -lt 2 || ! $2 =~ ^[0-9]+$ || $2 -eq 0 ]]; then
        echo "fuzz.sh: --time needs a number of seconds" >&2
        exit 2
      fi
      seconds=$2
      shift ;;
    --no-build) build=0 ;;
    -h | --help) sed -n '2,18p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *)
      if [[ " ${all_targets[*]} " != *" $1 "* ]]; then
        echo "fuzz.sh: unknown target $1 (one of: ${all_targets[*]})" >&2
        exit 2
      fi
      targets+=("$1") ;;
  esac
  shift
done
((${#targets[@]} > 0)) || targets=("${all_targets[@]}")

build_dir=$root/build/fuzz
if ((build)); then
  echo "== building the fuzz targets with clang" >&2
  CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUIRLEX_BUILD_FUZZ=ON -DQUIRLEX_WERROR=ON -DQUIRLEX_BUILD_GUI=OFF \
    -DQUIRLEX_BUILD_BENCH=OFF -DQUIRLEX_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build_dir" -j 2 --target "${targets[@]/%/_fuzzer}"
fi

work=$root/fuzz/corpus-work
mkdir -p "$work/artifacts" "$work/logs"
# An undefined-behaviour report ends the run like a crash.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1

tmp_base=$work/tmp
if [[ -d /dev/shm && -w /dev/shm ]]; then tmp_base=/dev/shm/quirlex-fuzz-$$; fi
trap 'rm -rf "$tmp_base"' EXIT

failed=()
for target in "${targets[@]}"; do
  binary=$build_dir/fuzz/${target}_fuzzer
  [[ -x $binary ]] || { echo "fuzz.sh: $binary is missing; build without --no-build" >&2; exit 2; }
  if ((smoke)); then
    learned=$work/smoke/$target
    rm -rf "$learned"
  else
    learned=$work/corpus/$target
  fi
  mkdir -p "$learned"
  # The targets make their temporary folders here, so a crashed run leaves
  # nothing behind in the system's temporary folder. Memory-backed when the
  # machine has it: every save of a file waits for the disk otherwise.
  tmp=$tmp_base/$target
  rm -rf "$tmp"
  mkdir -p "$tmp"
  log=$work/logs/$target.log
  echo "== fuzzing $target for $seconds s (log: ${log#"$root"/})" >&2
  # Paths are absolute: the command-sequence target works in a folder of its own.
  status=0
  TMPDIR=$tmp "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/$target-" \
    "$learned" "$root/fuzz/corpus/$target" >"$log" 2>&1 || status=$?
  rm -rf "$tmp"
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  elapsed=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
  if ((status != 0)); then
    failed+=("$target")
    echo "$target: FAILED (exit status $status) after ${executions:-?} executions;" \
      "see ${log#"$root"/}" >&2
    grep -E '^(==[0-9]+==ERROR|SUMMARY|== invariant broken)|Test unit written' "$log" >&2 || true
  else
    rate=$((${elapsed:-0} > 0 ? ${executions:-0} / elapsed : 0))
    echo "$target: ${executions:-?} executions in ${elapsed:-?} s (${rate} per second)"
  fi
done

if ((${#failed[@]} > 0)); then
  echo "fuzz.sh: findings in: ${failed[*]} (inputs in fuzz/corpus-work/artifacts/)" >&2
  exit 1
fi
