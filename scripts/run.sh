#!/usr/bin/env bash
# Sets up everything on a fresh machine, builds the programs and starts
# Quirlex in the samples folder, where every file dialog's preset name finds
# its file. Without a display it runs the console demo of the whole pipeline.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=Release -DQUIRLEX_BUILD_TESTS=OFF \
  -DQUIRLEX_BUILD_BENCH=OFF

bin=$PWD/build/release/src
cd samples
# The dictionary the window's Load Dictionary finds under its preset name.
if [[ ! -s Lexikon.dic || Lexikon.dic -ot pqlexikon.txt ]]; then
  "$bin/cli/quirlex-cli" create-dictionary pqlexikon.txt -o Lexikon.dic 2>/dev/null
fi

if [[ -n ${DISPLAY:-}${WAYLAND_DISPLAY:-} && -x $bin/gui/quirlex ]]; then
  exec "$bin/gui/quirlex" "$@"
fi
echo "No display found: running the console demo of the whole pipeline instead." >&2
exec "$bin/cli/quirlex-cli" demo
