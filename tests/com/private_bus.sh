#!/bin/sh
# Runs a command on a session bus of its own (dbus-run-session), with a home
# and XDG folders of its own, so that activation files the test writes are
# seen by that bus alone and nothing touches the real home.
set -eu
dir=$(mktemp -d "${TMPDIR:-/tmp}/vx-bus.XXXXXX")
trap 'rm -rf "$dir"' EXIT INT TERM
export HOME="$dir/home"
export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
export XDG_RUNTIME_DIR="$dir/run"
mkdir -p "$XDG_DATA_HOME/dbus-1/services" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# The test programs keep this home rather than the build folder's.
export VX_TEST_HOME_GIVEN=1
unset DBUS_SESSION_BUS_ADDRESS
dbus-run-session -- "$@"
