#!/bin/bash
# Configures and builds every configuration: build/native, build/win64,
# build/win32 and build/web.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/native" -j"$(nproc)"
for arch in win64:x86_64 win32:i686; do
    cmake -S "$root" -B "$root/build/${arch%%:*}" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-${arch#*:}.cmake" >/dev/null
    cmake --build "$root/build/${arch%%:*}" -j"$(nproc)"
done
emcmake cmake -S "$root" -B "$root/build/web" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/web" -j"$(nproc)"
