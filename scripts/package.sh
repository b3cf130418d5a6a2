#!/usr/bin/env bash
# Builds the Debian package: a release build installed under /usr, packed by
# CPack with the library dependencies that dpkg-shlibdeps finds in the
# binaries. Extra arguments go to cmake's configure step. The last line of
# output is the path of the .deb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
BUILD_DIR=${BUILD_DIR:-build-package}
BUILD_DIR=$BUILD_DIR BUILD_TYPE=Release scripts/build.sh \
  -DVANTOR_TESTS=OFF -DVANTOR_BENCH=OFF -DVANTOR_FUZZ=OFF -DVANTOR_SANITIZE=OFF -DCMAKE_INSTALL_PREFIX=/usr "$@"
out=$BUILD_DIR/package
rm -rf "$out"
cpack --config "$BUILD_DIR/CPackConfig.cmake" -B "$out"
debs=("$out"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "package.sh: expected one .deb in $out" >&2; exit 1; }
realpath "${debs[0]}"
