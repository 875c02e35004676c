#!/usr/bin/env bash
# One 100 MB Shift-JIS lyric file converted to UTF-8: our conversion (read the whole file, decode
# 932, encode 65001, write, as the batch does for one file) against iconv on the same file, in
# the same run. Each side runs three times, alternating; the best run of each counts.
# Usage: BUILD=build-dir bash bench/codepage_bench.sh   (MB=size to change the file size)
set -euo pipefail
build=${BUILD:-build}
prog="$build/bench/codepage_bench"
[ -x "$prog" ] || { echo "codepage_bench not built in $build" >&2; exit 1; }
mb=${MB:-100}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$prog" --generate "$work/in.txt" "$mb"
bytes=$(stat -c %s "$work/in.txt")

# Prints "wall cpu" seconds of one command.
timed() {
  local t
  t=$( { /usr/bin/env TIMEFORMAT='%R %U %S' bash -c "time $*" ; } 2>&1 >/dev/null | tail -1)
  awk -v r="$t" 'BEGIN { split(r, a, " "); printf "%.3f %.3f\n", a[1], a[2] + a[3] }'
}

best_ours_wall=999999; best_ours_cpu=999999; best_iconv_wall=999999; best_iconv_cpu=999999
for run in 1 2 3; do
  read -r w c < <(timed "iconv -f CP932 -t UTF-8 '$work/in.txt' > '$work/iconv.txt'")
  best_iconv_wall=$(awk -v a="$w" -v b="$best_iconv_wall" 'BEGIN { print (a < b) ? a : b }')
  best_iconv_cpu=$(awk -v a="$c" -v b="$best_iconv_cpu" 'BEGIN { print (a < b) ? a : b }')
  read -r w c < <(timed "'$prog' 932 65001 '$work/in.txt' '$work/ours.txt'")
  best_ours_wall=$(awk -v a="$w" -v b="$best_ours_wall" 'BEGIN { print (a < b) ? a : b }')
  best_ours_cpu=$(awk -v a="$c" -v b="$best_ours_cpu" 'BEGIN { print (a < b) ? a : b }')
done

if cmp -s "$work/iconv.txt" "$work/ours.txt"; then same="identical"; else same="DIFFERENT"; fi
awk -v bytes="$bytes" -v ow="$best_ours_wall" -v oc="$best_ours_cpu" \
    -v iw="$best_iconv_wall" -v ic="$best_iconv_cpu" -v same="$same" 'BEGIN {
  mb = bytes / 1048576
  printf "%.1f MB Shift-JIS -> UTF-8, best of 3 (outputs %s)\n", mb, same
  printf "  iconv:  wall %.3f s  %6.1f MB/s   cpu %.3f s  %6.1f MB/s\n", iw, mb / iw, ic, mb / ic
  printf "  ours:   wall %.3f s  %6.1f MB/s   cpu %.3f s  %6.1f MB/s\n", ow, mb / ow, oc, mb / oc
  printf "  ours / iconv throughput: wall %.2f  cpu %.2f   (goal: at least 0.80)\n", iw / ow, ic / oc
}'
[ "$same" = identical ]
