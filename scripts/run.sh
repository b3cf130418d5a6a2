#!/usr/bin/env bash
# Installs what is needed, builds, and runs the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD_DIR=build scripts/build.sh -DVANTOR_TESTS=OFF
if [ -x build/bin/vantor ]; then
  exec build/bin/vantor "$@"
fi
exec build/bin/vantor-cli "${@:---help}"
