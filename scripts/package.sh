#!/bin/bash
# Sets up whatever is missing, builds, and writes the release packages
# dist/Verdanelle-VERSION-x64.zip, -x86.zip and -web.zip (the static site),
# and dist/verdanelle_VERSION-1_ARCH.deb, the hack for Debian and Ubuntu.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" >/dev/null
mkdir -p "$root/dist"
for build in win64 win32 web; do
    rm -rf "$root/build/$build/package"
    (cd "$root/build/$build" && cpack -G ZIP >/dev/null)
    cp "$root/build/$build/package/"*.zip "$root/dist/"
done
# The Debian package is built as packagers build: without the tests.
cmake -S "$root" -B "$root/build/deb" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$root/build/deb" -j"$(nproc)" >/dev/null
rm -rf "$root/build/deb/package"
(cd "$root/build/deb" && cpack >/dev/null)
cp "$root/build/deb/package/"*.deb "$root/dist/"
ls "$root/dist/"*.zip "$root/dist/"*.deb
