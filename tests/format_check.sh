#!/bin/bash
# The C++ files follow the committed style in .clang-format.
#   format_check.sh SOURCE_DIR
set -u
cd "$1" || exit 1
command -v clang-format >/dev/null || { echo "needs clang-format (apt-get install clang-format)"; exit 1; }
files=$(git ls-files '*.cpp' '*.h' 2>/dev/null) ||
    files=$(find . \( -path ./build -o -name node_modules \) -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
clang-format --dry-run --Werror $files && echo "$(wc -w <<<"$files") files follow .clang-format"
