#!/usr/bin/env bash
# Builds the benchmarks (release) and runs them all; extra arguments go to
# every benchmark program (for example --benchmark_filter=Parse).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD_DIR=build-bench BUILD_TYPE=Release scripts/build.sh -DVANTOR_BENCH=ON -DVANTOR_TESTS=OFF -DVANTOR_GUI=OFF
while read -r b; do
  [ -n "$b" ] || continue
  echo "== $b"
  build-bench/bin/$b "$@"
done < build-bench/benches.txt
