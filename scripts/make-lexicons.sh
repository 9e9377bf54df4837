#!/usr/bin/env bash
# Builds the ready lexicons from Debian's packages: for German (de) and
# English (en), LANG.dic in frequency order with the model files that
# create-dictionary writes beside it, and the affix lists LANG.dic.suffixes
# and LANG.dic.prefixes; and one copyright file naming every source package
# and its licence. The same package versions give the same files, byte for
# byte.
#
# Usage: scripts/make-lexicons.sh [--cli QUIRLEX_CLI] [--only LANG]
#                                 [--sources "PACKAGE..."] [OUTDIR]
#   --cli      the quirlex-cli to build with (else a Release build is made
#              in build/lexicons-cli)
#   --only     one language only
#   --sources  other source packages than the chosen ones (to measure them)
#   OUTDIR     where the files go, build/lexicons unless given
# The source packages come with scripts/setup.sh --lexicons.
set -euo pipefail
cd "$(dirname "$0")/.."
export LC_ALL=C TZ=UTC

# The sources of each language, chosen by their effect on restoring
# held-out prose (bench/quality/lexicons); running text first, then word
# lists.
declare -A chosen=(
  [de]="debian-reference-de manpages-de fortunes-de trans-de-en openthesaurus-de-text wngerman hunspell-de-de"
  [en]="debian-reference-en fortunes fortunes-min wordnet-base wamerican-huge wbritish-huge scowl"
)

cli= only= sources= out=build/lexicons
while (($# > 0)); do
  case $1 in
    --cli) cli=$2; shift ;;
    --only) only=$2; shift ;;
    --sources) sources=$2; shift ;;
    -*) echo "make-lexicons: unknown option $1" >&2; exit 2 ;;
    *) out=$1 ;;
  esac
  shift
done
languages=(de en)
if [[ -n $only ]]; then
  [[ -n ${chosen[$only]:-} ]] || { echo "make-lexicons: no language $only" >&2; exit 2; }
  languages=("$only")
fi
if [[ -n $sources && ${#languages[@]} -ne 1 ]]; then
  echo "make-lexicons: --sources needs --only LANG" >&2
  exit 2
fi

if [[ -z $cli ]]; then
  cmake -S . -B build/lexicons-cli -DCMAKE_BUILD_TYPE=Release -DQUIRLEX_BUILD_TESTS=OFF \
    -DQUIRLEX_BUILD_BENCH=OFF -DQUIRLEX_BUILD_GUI=OFF >/dev/null
  cmake --build build/lexicons-cli -j "$(nproc)" --target quirlex-cli
  cli=build/lexicons-cli/src/cli/quirlex-cli
fi
cli=$(realpath "$cli")

mkdir -p "$out"
work=$(mktemp -d "$out/.work.XXXXXX")
trap 'rm -rf "$work"' EXIT
used=()
for lang in "${languages[@]}"; do
  read -r -a packages <<<"${sources:-${chosen[$lang]}}"
  for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
      echo "make-lexicons: the package $package is missing (run scripts/setup.sh --lexicons)" >&2
      exit 1
    fi
  done
  echo "make-lexicons: $lang from ${packages[*]}" >&2
  python3 scripts/lexicon-sources.py "$work/$lang" "${packages[@]}"
  corpus=$work/$lang.txt
  for package in "${packages[@]}"; do cat "$work/$lang/$package.txt"; done >"$corpus"
  "$cli" create-dictionary "$corpus" -o "$out/$lang.dic" --order frequency --bigrams \
    --encoding utf-8 2>/dev/null
  for kind in suffixes prefixes; do
    cp "scripts/lexicons/$kind-$lang.txt" "$out/$lang.dic.$kind"
  done
  used+=("${packages[@]}")
done
python3 scripts/lexicon-sources.py --copyright "${used[@]}" >"$out/copyright"
chmod 644 "$out"/*
ls -l "$out" >&2
