#!/bin/bash
# Configures and builds the configurations named, or all five: native
# (build/native), win64, win32, web and fuzz (clang's libFuzzer targets).
#   build.sh [native] [win64] [win32] [web] [fuzz]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -gt 0 ] || set -- native win64 win32 web fuzz
for config in "$@"; do
    case $config in
        native) cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null ;;
        win64 | win32)
            arch=$([ "$config" = win64 ] && echo x86_64 || echo i686)
            cmake -S "$root" -B "$root/build/$config" -DCMAKE_BUILD_TYPE=Release \
                -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-$arch.cmake" >/dev/null ;;
        web) emcmake cmake -S "$root" -B "$root/build/web" -DCMAKE_BUILD_TYPE=Release >/dev/null ;;
        fuzz) CXX=clang++ cmake -S "$root/tests/fuzz" -B "$root/build/fuzz" >/dev/null ;;
        *) echo "build.sh: no configuration '$config' (native, win64, win32, web, fuzz)" >&2; exit 2 ;;
    esac
    cmake --build "$root/build/$config" -j"$(nproc)"
done
