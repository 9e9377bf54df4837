#!/usr/bin/env bash
# Builds the Debian package build/package/quirlex_VERSION_ARCH.deb: a Release
# build of both programs without tests, benchmarks or fuzz targets, packed by
# CPack with the desktop entry, the icon, the manual pages, the sample files
# with the sample corpus and the ready lexicons (scripts/make-lexicons.sh).
# Install it with
#   sudo apt install ./build/package/quirlex_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --package --lexicons

dir=build/package
# The programs look for installed lexicons under the prefix the package uses.
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DQUIRLEX_WERROR=ON \
  -DQUIRLEX_BUILD_TESTS=OFF -DQUIRLEX_BUILD_BENCH=OFF -DQUIRLEX_BUILD_FUZZ=OFF \
  -DQUIRLEX_BUILD_GUI=ON -DQUIRLEX_READY_LEXICONS=ON -DQUIRLEX_SAMPLE_CORPUS=ON \
  -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$dir" -j "$(nproc)"
rm -f "$dir"/quirlex_*.deb
(cd "$dir" && cpack -G DEB)
ls "$dir"/quirlex_*.deb
