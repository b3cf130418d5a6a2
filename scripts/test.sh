#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: the full build under
# ctest, then everything again (the Qt parts too, offscreen, and every fuzz
# target over its seeds) under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the built-in engine's many-threaded tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# The C++ files keep the style of .clang-format (CHECK_FORMAT=0 skips it).
if [ "${CHECK_FORMAT:-1}" = 1 ]; then scripts/check-format.sh; fi
export QT_QPA_PLATFORM=offscreen
# Warnings are errors here, so that none creeps in; users build without.
BUILD_DIR=build-test scripts/build.sh -DVANTOR_TESTS=ON -DVANTOR_WERROR=ON "$@"
ctest --test-dir build-test --output-on-failure -j "$(nproc)" --timeout 300
if [ "${SKIP_SANITIZERS:-0}" != 1 ]; then
  BUILD_DIR=build-asan BUILD_TYPE=Debug scripts/build.sh -DVANTOR_TESTS=ON -DVANTOR_GUI=ON -DVANTOR_SANITIZE=ON \
    -DVANTOR_WERROR=ON "$@"
  ASAN_OPTIONS=detect_leaks=1 \
  LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j "$(nproc)" --timeout 600
  # The built-in engine's maps and batches run on many threads at once: its
  # tests again under ThreadSanitizer (only what they need is built).
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTOR_TSAN=ON -DVANTOR_GUI=OFF \
    -DVANTOR_WERROR=ON "$@" >/dev/null
  cmake --build build-tsan -j "$(nproc)" --target engine_core_tests views_core_tests model_data
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 build-tsan/bin/engine_core_tests --gtest_filter='Builtin*'
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 build-tsan/bin/views_core_tests --gtest_filter='*Builtin*'
fi
