#!/bin/bash
# Sets up whatever is missing, builds, and writes the release packages
# dist/Verdanelle-VERSION-x64.zip, -x86.zip and -web.zip (the static site).
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
ls "$root/dist/"*.zip
