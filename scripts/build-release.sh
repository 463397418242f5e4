#!/bin/bash
# Builds what is released, without tests, in fresh folders under OUT_DIR
# (win64, win32, web, native) and writes the zips, OUT_DIR/*.zip. The same
# commit gives the same bytes from any folder, at any time, under any umask,
# time zone or locale: the time in them is SOURCE_DATE_EPOCH, from the last
# commit unless set, or from debian/changelog outside a git checkout.
#   build-release.sh OUT_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: build-release.sh OUT_DIR}
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct 2>/dev/null ||
        dpkg-parsechangelog -l "$root/debian/changelog" -STimestamp)
fi
export SOURCE_DATE_EPOCH

rm -rf "$out"
mkdir -p "$out"
for config in win64 win32 web native; do
    options=(-S "$root" -B "$out/$config" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF)
    case $config in
        win64) cmake "${options[@]}" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" ;;
        win32) cmake "${options[@]}" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" ;;
        web) emcmake cmake "${options[@]}" 2> >(grep -v '^configure: ' >&2) ;;
        native) cmake "${options[@]}" ;;
    esac >/dev/null
    cmake --build "$out/$config" -j"$(nproc)" >/dev/null
    [ "$config" != native ] || continue
    (cd "$out/$config" && cpack -G ZIP >/dev/null)
    # CPack stores each file's time and mode bits as it finds them.
    strip-nondeterminism -t zip -T "$SOURCE_DATE_EPOCH" "$out/$config"/package/*.zip >/dev/null
    mv "$out/$config"/package/*.zip "$out/"
done
