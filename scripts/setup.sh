#!/usr/bin/env bash
# Installs everything the build, the tests and the window need, from
# Debian's packages, and generates the sample corpus; with --bench also what
# the benchmark suite needs, with --package also what scripts/package.sh
# needs, with --lexicons the source packages of the ready lexicons
# (scripts/make-lexicons.sh); the options may be combined. Returns quickly
# when all is there already. Run it as root, or with sudo available.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake make g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev fonts-dejavu-core
  clang libclang-rt-14-dev
  xvfb xauth x11-utils imagemagick xdotool
  wngerman wamerican fortunes-de libc-bin
)
for option in "$@"; do
  case $option in
  --bench)
    # The benchmark suite (bench/run): timing, profiles, plots and real German
    # and English words and running text for its workloads.
    packages+=(
      time linux-perf python3-matplotlib
      fortunes debian-reference-en debian-reference-de
      wbritish wfrench witalian wspanish wdutch wbrazilian wswedish
    )
    ;;
  --package)
    # The Debian package (scripts/package.sh): dpkg-shlibdeps finds its
    # dependencies.
    packages+=(dpkg-dev)
    ;;
  --lexicons)
    # The sources of the ready lexicons, and the held-out texts that
    # bench/quality/lexicons measures them with.
    packages+=(
      python3
      wngerman hunspell-de-de debian-reference-de manpages-de fortunes-de trans-de-en
      openthesaurus-de-text
      wamerican-huge wbritish-huge scowl wordnet-base fortunes fortunes-min
      debian-reference-en dict-gcide
    )
    ;;
  *)
    echo "setup: unknown option $option" >&2
    exit 2
    ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "setup: installing ${missing[*]}" >&2
  as_root=()
  if [[ $(id -u) -ne 0 ]]; then as_root=(sudo); fi
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

scripts/make-sample-corpus.sh
