#!/usr/bin/env bash
# Draws docs/architecture.svg: the library targets and programs as the build
# defines them, from CMake's --graphviz output, laid out by Graphviz.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v dot >/dev/null; then
  as_root=()
  if [[ $(id -u) -ne 0 ]]; then as_root=(sudo); fi
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq graphviz >/dev/null
fi

dir=build/graphviz
mkdir -p "$dir"
cp cmake/graphviz/CMakeGraphVizOptions.cmake "$dir/"
cmake -S . -B "$dir" -DQUIRLEX_BUILD_TESTS=OFF -DQUIRLEX_BUILD_BENCH=OFF \
  -DQUIRLEX_BUILD_FUZZ=OFF --graphviz="$dir/targets.dot" >/dev/null
# Bottom to top: the programs above the core they link; no legend (the
# programs are the egg shapes, the libraries the octagons).
awk '/^subgraph clusterLegend/ { skip = 1 } !skip { print } skip && /^}/ { skip = 0 }' \
  "$dir/targets.dot" |
  sed -e 's/^digraph "\(.*\)" {/digraph "\1" {\n  rankdir = BT;\n  node [fontname = "DejaVu Sans"];/' \
    >"$dir/architecture.dot"
dot -Tsvg "$dir/architecture.dot" -o docs/architecture.svg
echo "wrote docs/architecture.svg" >&2
