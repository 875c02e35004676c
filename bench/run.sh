#!/usr/bin/env bash
# Runs every benchmark against a build folder and prints the figures.
set -euo pipefail
build=${1:-build}
"$build/bench/ruby_list_bench"
