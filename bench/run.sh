#!/usr/bin/env bash
# Runs every benchmark program and script against a build folder and prints the figures.
# Usage: bench/run.sh [BUILD_DIR] [NAME...]   (names filter, e.g. ruby_list)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
shift || true
wanted=("$@")
selected() {
  [ ${#wanted[@]} -eq 0 ] && return 0
  for w in "${wanted[@]}"; do [[ "$1" == *"$w"* ]] && return 0; done
  return 1
}
for exe in "$build"/bench/*_bench; do
  [ -x "$exe" ] || continue
  selected "$(basename "$exe")" || continue
  echo "== $(basename "$exe")"
  "$exe"
done
for script in "$here"/*_bench.sh; do
  [ -f "$script" ] || continue
  selected "$(basename "$script")" || continue
  echo "== $(basename "$script")"
  BUILD="$build" bash "$script"
done
