#!/usr/bin/env bash
# Batch throughput and memory of quenlite-cli against iconv on the same files, in one run:
#  1. 2,000 Shift-JIS LRC files (50 MB in all) converted to GBK with LRC -> KRA, against
#     `iconv -f CP932 -t GBK` over the same files (encoding only). Goal: at least iconv's speed.
#  2. One 100 MB Shift-JIS file to UTF-8, against `iconv -f CP932 -t UTF-8`. Goal: >= 0.8x.
#  3. Peak memory (/usr/bin/time -v, maximum resident set size) of both runs: the batch must
#     stay near the size of its largest file, not grow with the batch.
# Usage: BUILD=build bash bench/batch_bench.sh   (or through bench/run.sh)
# FILES and TOTAL_MB make a smaller run, e.g. FILES=200 TOTAL_MB=5 BIG_MB=10.
set -euo pipefail
build=${BUILD:-build}
cli=$(cd "$build" && pwd)/converter/cli/quenlite-cli
[ -x "$cli" ] || { echo "batch_bench: build quenlite-cli first ($cli)" >&2; exit 1; }
files=${FILES:-2000}
total_mb=${TOTAL_MB:-50}
big_mb=${BIG_MB:-100}
work=$(mktemp -d "${TMPDIR:-/tmp}/batch-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

# Lyric bodies: timed lines of kanji, kana and Latin letters, each body different. The first
# body calibrates the line count so that the files add up to the wanted total.
per_file=$((total_mb * 1000 * 1000 / files))
mkdir -p "$work/bodies" "$work/src"
body() {  # SEED LINES
  awk -v seed="$1" -v lines="$2" 'BEGIN {
    split("夜 空 に 浮 か ぶ 星 の 光 を 見 上 げ て 君 と 歩 い た 道 ずっと 忘 れ な い カタカナ メロディー 心 愛 LaLa 風 花 雪 月", w, " ");
    n = length(w); srand(seed + 1);
    printf "[ti:Song %d]\r\n[ar:Artist]\r\n[al:Album]\r\n", seed;
    for (t = 0; t < lines; t++) {
      line = sprintf("[%02d:%02d.%02d]", int(t * 3 / 6000) % 100, int(t * 3 / 100) % 60, t * 3 % 100);
      for (k = 0; k < 14; k++) line = line w[int(rand() * n) + 1];
      printf "%s\r\n", line;
    }
  }' | iconv -f UTF-8 -t CP932 >"$work/bodies/$1.lrc"
}
body 0 1000
lines=$((per_file * 1000 / $(stat -c %s "$work/bodies/0.lrc")))
for b in $(seq 0 15); do body "$b" "$lines"; done
for i in $(seq 1 "$files"); do
  cp "$work/bodies/$((i % 16)).lrc" "$work/src/$(printf 'song%05d.lrc' "$i")"
done
: >"$work/big.lrc"
while [ "$(stat -c %s "$work/big.lrc")" -lt $((big_mb * 1000 * 1000)) ]; do
  cat "$work/bodies/"*.lrc >>"$work/big.lrc"
done
batch_bytes=$(cat "$work/src/"* | wc -c)
largest=$(stat -c %s "$work/src/"* | sort -n | tail -1)
big_bytes=$(stat -c %s "$work/big.lrc")
cat "$work/src/"* "$work/big.lrc" >/dev/null  # warm the page cache for every contender

# measure NAME COMMAND...: wall seconds and peak resident set size (KiB) of the command.
measure() {
  local name=$1; shift
  /usr/bin/time -v -o "$work/$name.time" "$@" >/dev/null
  local wall rss
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {
    n = split($2, p, ":"); s = 0; for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' \
    "$work/$name.time")
  rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/$name.time")
  echo "$wall $rss"
}
mbps() { awk -v b="$1" -v s="$2" 'BEGIN { printf "%.1f", (s > 0 ? b / s / 1e6 : 0) }'; }

# Best of three for the times; memory from the same runs.
best() {
  local name=$1; shift
  local best_wall="" best_rss=0 wall rss
  for r in 1 2 3; do
    rm -rf "$work/out"
    read -r wall rss < <(measure "$name" "$@")
    if [ -z "$best_wall" ] || awk -v a="$wall" -v b="$best_wall" 'BEGIN { exit !(a < b) }'; then
      best_wall=$wall
    fi
    [ "$rss" -gt "$best_rss" ] && best_rss=$rss
  done
  echo "$best_wall $best_rss"
}

read -r cli_wall cli_rss < <(best batch "$cli" -q --exists overwrite --to-cp gbk \
  --format-from lrc --format-to kra -d "$work/out" "$work/src")
written=$(find "$work/out" -type f 2>/dev/null | wc -l || true)
rm -rf "$work/out"
# iconv writes every file to one output, its fastest form; a child shell holds the redirection.
read -r iconv_wall iconv_rss < <(best iconv-batch bash -c \
  "iconv -f CP932 -t GBK \"\$@\" >'$work/iconv-batch.out'" _ "$work/src/"*)
# For reference: iconv as a batch tool would be used, one run and one output file per file
# (a single measurement: it is slow).
rm -rf "$work/out"
read -r each_wall each_rss < <(measure iconv-each bash -c \
  "mkdir -p '$work/out'; for f in \"\$@\"; do iconv -f CP932 -t GBK \"\$f\" >'$work/out/'\"\${f##*/}\"; done" \
  _ "$work/src/"*)

echo "batch: $files files, $batch_bytes bytes (largest $largest), Shift-JIS -> GBK, LRC -> KRA"
printf '  quenlite-cli  %6.2f s  %7s MB/s  peak RSS %6d KiB\n' "$cli_wall" \
  "$(mbps "$batch_bytes" "$cli_wall")" "$cli_rss"
printf '  iconv         %6.2f s  %7s MB/s  peak RSS %6d KiB\n' "$iconv_wall" \
  "$(mbps "$batch_bytes" "$iconv_wall")" "$iconv_rss"
printf '  iconv per file %5.2f s  %7s MB/s  peak RSS %6d KiB  (one run and one output per file)\n' \
  "$each_wall" "$(mbps "$batch_bytes" "$each_wall")" "$each_rss"
awk -v a="$cli_wall" -v b="$iconv_wall" 'BEGIN {
  printf "  throughput quenlite-cli / iconv: %.2f (goal >= 1.00)\n", (a > 0 ? b / a : 0) }'

read -r big_wall big_rss < <(best big "$cli" -q --exists overwrite --to-cp utf-8 \
  -d "$work/out/big.txt" "$work/big.lrc")
read -r ibig_wall ibig_rss < <(best iconv-big bash -c \
  "iconv -f CP932 -t UTF-8 '$work/big.lrc' >'$work/iconv-big.out'")
echo "one file: $big_bytes bytes, Shift-JIS -> UTF-8"
printf '  quenlite-cli  %6.2f s  %7s MB/s  peak RSS %6d KiB\n' "$big_wall" \
  "$(mbps "$big_bytes" "$big_wall")" "$big_rss"
printf '  iconv         %6.2f s  %7s MB/s  peak RSS %6d KiB\n' "$ibig_wall" \
  "$(mbps "$big_bytes" "$ibig_wall")" "$ibig_rss"
awk -v a="$big_wall" -v b="$ibig_wall" 'BEGIN {
  printf "  throughput quenlite-cli / iconv: %.2f (goal >= 0.80)\n", (a > 0 ? b / a : 0) }'

# Memory: the whole batch against a run over its largest file alone.
largest_file=$(ls -S "$work/src" | sed -n 1p)  # sed reads on: no broken pipe
read -r one_wall one_rss < <(best one "$cli" -q --exists overwrite --to-cp gbk \
  --format-from lrc --format-to kra -d "$work/out" "$work/src/$largest_file")
echo "memory: peak RSS $cli_rss KiB for the batch of $((batch_bytes / 1024)) KiB," \
  "$one_rss KiB for its largest file ($((largest / 1024)) KiB) alone," \
  "$big_rss KiB for the $((big_bytes / 1024)) KiB file"
awk -v a="$cli_rss" -v b="$one_rss" 'BEGIN {
  printf "  batch / largest file alone: %.2f (memory follows the largest file, not the batch)\n", a / b }'
[ "$written" -eq "$files" ] || echo "  WARNING: quenlite-cli wrote $written of $files files"
