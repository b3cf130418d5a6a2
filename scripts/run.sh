#!/usr/bin/env bash
# Installs what is needed, builds, and starts Vantor's window. Without a
# display it says so and points to the command-line front end.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD_DIR=build scripts/build.sh -DVANTOR_TESTS=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): Vantor's window needs a desktop." >&2
  echo "Without one, use the command-line front end, for example:" >&2
  echo "  build/bin/vantor-cli predict --home 44,-79 --dx 51,0 --year 2026 --month 12 --ssn 100" >&2
  echo "  build/bin/vantor-cli --help" >&2
  exit 1
fi
exec build/bin/vantor "$@"
