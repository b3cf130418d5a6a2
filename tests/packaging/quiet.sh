#!/usr/bin/env bash
# quiet.sh COMMAND [ARGS...]: runs COMMAND and fails when it fails or says
# anything at all, so that validators' warnings count as failures too.
set -uo pipefail
out=$("$@" 2>&1)
rc=$?
if [ $rc -ne 0 ] || [ -n "$out" ]; then
  printf '%s\n' "$out"
  echo "FAILED (exit $rc): $*" >&2
  exit 1
fi
