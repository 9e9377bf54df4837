#!/usr/bin/env bash
# Generates samples/pqlexikon.txt, the corpus of the sample files: Debian's
# German and English word lists and, so that words come with the frequency of
# real use, the German fortune cookies, converted to Windows-1252 (words that
# have no Windows-1252 spelling are left out). Does nothing when it is up to
# date.
set -euo pipefail
cd "$(dirname "$0")/.."

corpus=samples/pqlexikon.txt
sources=(/usr/share/dict/ngerman /usr/share/dict/american-english)
fortunes=()
for f in /usr/share/games/fortunes/de/*; do
  case $f in *.dat | *.u8 | *asciiart*) ;; *) fortunes+=("$f") ;; esac
done
((${#fortunes[@]} > 0)) || { echo "make-sample-corpus: the German fortunes are missing (run scripts/setup.sh)" >&2; exit 1; }
for source in "${sources[@]}"; do
  [[ -r $source ]] || { echo "make-sample-corpus: $source is missing (run scripts/setup.sh)" >&2; exit 1; }
done
if [[ -s $corpus && $corpus -nt ${sources[0]} && $corpus -nt ${sources[1]} &&
      $corpus -nt ${fortunes[0]} && $corpus -nt $0 ]]; then
  exit 0
fi
tmp=$(mktemp "$corpus.XXXXXX")
trap 'rm -f "$tmp"' EXIT
cat "${sources[@]}" "${fortunes[@]}" | iconv -c -f UTF-8 -t WINDOWS-1252 >"$tmp"
chmod 644 "$tmp"
mv "$tmp" "$corpus"
trap - EXIT
