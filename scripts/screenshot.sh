#!/usr/bin/env bash
# Takes the README's screenshot: starts the window under Xvfb in samples/,
# clicks Load, Load Dictionary, Shuffle and Translate (accepting each file
# dialog's preset name) and saves the window to docs/screenshot.png. Load
# Dictionary empties the scrambled text, so it comes before Shuffle.
# Usage: scripts/screenshot.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build/release}
program=$root/$build/src/gui/quirlex
[[ -x $program ]] || { echo "screenshot: $program is missing; build first" >&2; exit 1; }
[[ -s samples/Lexikon.dic ]] || "$root/$build/src/cli/quirlex-cli" create-dictionary \
  samples/pqlexikon.txt -o samples/Lexikon.dic 2>/dev/null

if [[ ${1:-} != --inside ]] && [[ -z ${QUIRLEX_SCREENSHOT_INSIDE:-} ]]; then
  QUIRLEX_SCREENSHOT_INSIDE=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build"
fi

cd samples
# Settings of their own, so that the window starts as a new user's does and
# the user's remembered boxes and folders stay as they are.
settings=$(mktemp -d)
XDG_CONFIG_HOME=$settings "$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$settings"' EXIT
for _ in $(seq 50); do
  window=$(xdotool search --name "Quirlex V1.1b" 2>/dev/null | head -1) && [[ -n $window ]] && break
  sleep 0.2
done
xdotool windowmove "$window" 0 0
sleep 1

# Clicks a button of the window at its place (window coordinates).
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep "${3:-1}"; }
# Accepts the file dialog that a click opened, with its preset name.
accept_dialog() { sleep 1.5; xdotool key Return; sleep "${1:-1}"; }

click 64 28 0; accept_dialog      # Load: test2.txt
click 175 62 0; accept_dialog 3   # Load Dictionary: Lexikon.dic
click 64 62                        # Shuffle
click 175 130 2                    # Translate
click 300 420 0.3; xdotool key ctrl+Home; sleep 0.5   # the report at the top of the lower box
import -window "$window" "$root/docs/screenshot.png"
echo "screenshot: $root/docs/screenshot.png" >&2
