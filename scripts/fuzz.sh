#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each for SECONDS (default 60).
# Usage: scripts/fuzz.sh [SECONDS] [NAME...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
SECONDS_EACH=${1:-60}; shift || true
DIR=${FUZZ_BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ BUILD_DIR=$DIR BUILD_TYPE=RelWithDebInfo scripts/build.sh \
  -DVANTOR_FUZZ=ON -DVANTOR_GUI=OFF -DVANTOR_TESTS=OFF
names=("$@")
[ ${#names[@]} -gt 0 ] || mapfile -t names < "$DIR/fuzzers.txt"
for f in "${names[@]}"; do
  [ -n "$f" ] || continue
  corpus=$DIR/corpus/$f; mkdir -p "$corpus"
  seeds=fuzz/seeds/$f
  echo "== $f (${SECONDS_EACH}s)"
  "$DIR/bin/$f" -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
    "$corpus" $( [ -d "$seeds" ] && echo "$seeds" ) 2>&1 | tail -n 3
done
