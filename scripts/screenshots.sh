#!/usr/bin/env bash
# Screenshots of each tab of Vantor's main window, for the README: the real
# window on a virtual X display (Xvfb), saved as docs/vantor-*.png. The
# predictions come from voacapl when it is installed and set up (~/itshfbc),
# otherwise from the built-in engine. Usage: scripts/screenshots.sh [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
OUT=$(realpath -m "${1:-docs}")
# SKIP_DEPS=1 skips the package check; SHOTS_ENV passes more variables to the
# program (for example QT_SCALE_FACTOR=2 to look at a larger scale).
[ "${SKIP_DEPS:-0}" = 1 ] || scripts/install-deps.sh
if ! command -v Xvfb >/dev/null; then
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get install -y -q --no-install-recommends xvfb
fi
BUILD_DIR=${BUILD_DIR:-build-shots}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_TESTS=ON >/dev/null
cmake --build "$BUILD_DIR" --target vantor-shots model_data prefix_lists ssn_table antenna_backups

# A home of its own, so that the user's settings and cache stay untouched.
WORK=$(mktemp -d)
trap 'kill "${XVFB_PID:-0}" 2>/dev/null || true; rm -rf "$WORK"' EXIT
mkdir -p "$WORK/home" "$OUT"
mkdir -p "$WORK/home/.config/Vexmoor"
if command -v voacapl >/dev/null && [ -d "$HOME/itshfbc" ]; then
  cp -r "$HOME/itshfbc" "$WORK/home/itshfbc"
  printf '[VOACAP]\r\nEngine=voacapl\r\nProgram=%s\r\nDataFolder=%s\r\n' "$(command -v voacapl)" \
    "$WORK/home/itshfbc/" > "$WORK/home/.config/Vexmoor/Vantor.ini"
else
  # The built-in engine: real predictions with nothing else installed.
  printf '[VOACAP]\r\nEngine=builtin\r\n' > "$WORK/home/.config/Vexmoor/Vantor.ini"
fi

Xvfb :97 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
sleep 1
env -u WAYLAND_DISPLAY HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" \
  XDG_CACHE_HOME="$WORK/home/.cache" XDG_DATA_HOME="$WORK/home/.local/share" \
  DISPLAY=:97 QT_QPA_PLATFORM=xcb ${SHOTS_ENV:-} "$BUILD_DIR/bin/vantor-shots" "$OUT"
