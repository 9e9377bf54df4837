#!/usr/bin/env bash
# Takes the README's pictures of the window at work: the progress bar while
# Load Dictionary fills the deep word list of the sample lexicon
# (docs/screenshot-progress.png), and the question a save dialog asks
# before it replaces a file (docs/screenshot-replace.png). Runs the window
# under Xvfb in a copy of samples/, so that no sample file changes.
# Usage: scripts/screenshot-states.sh [BUILD_DIR]   (default build/release)
# QUIRLEX_PROGRESS_DELAY (seconds, default 0.6) is when the progress picture
# is taken after the last affix dialog; a slower machine may want less.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build/release}
program=$root/$build/src/gui/quirlex
[[ -x $program ]] || { echo "screenshot: $program is missing; build first" >&2; exit 1; }
[[ -s samples/Lexikon.dic ]] || "$root/$build/src/cli/quirlex-cli" create-dictionary \
  samples/pqlexikon.txt -o samples/Lexikon.dic 2>/dev/null

if [[ -z ${QUIRLEX_SCREENSHOT_INSIDE:-} ]]; then
  QUIRLEX_SCREENSHOT_INSIDE=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build"
fi

work=$(mktemp -d)
cp samples/* "$work"/
# An earlier scrambled text: Save's preset name exists, so Save asks.
cp samples/test2.txt "$work"/savedtext.txt
cd "$work"
# Settings of their own, so that the window starts as a new user's does and
# the user's remembered boxes and folders stay as they are.
settings=$(mktemp -d)
XDG_CONFIG_HOME=$settings "$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$work" "$settings"' EXIT
for _ in $(seq 50); do
  window=$(xdotool search --name "Quirlex V1.1b" 2>/dev/null | head -1) && [[ -n $window ]] && break
  sleep 0.2
done
xdotool windowmove "$window" 0 0
sleep 1

# Clicks a place of the window (window coordinates).
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep "${3:-1}"; }
# Accepts the file dialog that a click opened, with its preset name.
accept_dialog() { sleep 1.5; xdotool key Return; sleep "${1:-1}"; }

click 242 60                                   # Deep Search
click 175 62 0; accept_dialog; accept_dialog; accept_dialog "${QUIRLEX_PROGRESS_DELAY:-0.6}"   # Load Dictionary, affix lists
import -window "$window" "$root/docs/screenshot-progress.png"
sleep 3                                        # the deep word list is done

click 64 28 0; accept_dialog                   # Load: test2.txt
click 64 62                                    # Shuffle
click 64 91 0; accept_dialog 1.5               # Save: savedtext.txt, which exists
# The question box sits over the file dialog, both over the window.
import -window root -crop 760x560+0+0 "$root/docs/screenshot-replace.png"
xdotool key Escape; sleep 0.5; xdotool key Escape
echo "screenshot: $root/docs/screenshot-progress.png $root/docs/screenshot-replace.png" >&2
