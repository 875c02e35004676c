#!/usr/bin/env bash
# Reading quality: the character error rate of Auto notation (`orvi-cli notate --to verify`)
# on the lyric corpus with sung readings, next to `mecab -Oyomi` and `kakasi -JH` on the same
# lines. The corpus and its scorer live outside the repository (EVAL_DIR, by default
# ../shared/eval beside the checkout); without them the benchmark is skipped.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${BUILD:-build}
cli="$build/editor/cli/orvi-cli"
eval_dir=${EVAL_DIR:-$here/../../shared/eval}
corpus="$eval_dir/readings-dev.tsv"
scorer="$eval_dir/reading_cer.py"
[ -x "$cli" ] || { echo "reading_quality_bench: $cli not built" >&2; exit 1; }
if [ ! -f "$corpus" ] || [ ! -f "$scorer" ]; then
  echo "reading_quality_bench: no corpus in $eval_dir (skipped)"
  exit 0
fi
cer() { python3 "$scorer" "$corpus" -- "$@" | sed -n 's/^CER //p'; }
printf '%-34s %s\n' "orvi-cli notate --to verify" "$(cer "$cli" notate --to verify)"
if command -v mecab >/dev/null; then
  printf '%-34s %s\n' "mecab -Oyomi" "$(cer mecab -Oyomi)"
fi
if command -v kakasi >/dev/null; then
  printf '%-34s %s\n' "kakasi -JH" "$(cer kakasi -JH -i utf8 -o utf8)"
fi
