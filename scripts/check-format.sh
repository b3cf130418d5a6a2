#!/usr/bin/env bash
# Checks that every C++ file keeps the style of .clang-format (the folders of
# the numerical model have their own); names each file and line that does not.
# Fix them with: clang-format -i <file>...
set -euo pipefail
cd "$(dirname "$0")/.."
CLANG_FORMAT=${CLANG_FORMAT:-clang-format}
find src tests bench fuzz tools -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
  sort -z | xargs -0 "$CLANG_FORMAT" --style=file --dry-run --Werror
