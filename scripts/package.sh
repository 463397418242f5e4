#!/bin/bash
# Sets up whatever is missing, builds, and writes the release packages
# dist/Verdanelle-VERSION-x64.zip, -x86.zip and -web.zip (the static site),
# and dist/verdanelle_VERSION-1_ARCH.deb, the hack for Debian and Ubuntu, for
# this machine's architecture and, cross-built on amd64, for arm64.
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
# The Debian packages, built the Debian way (debian/, dpkg-buildpackage).
"$root/scripts/build-deb.sh" "$root/dist"
if [ "$(dpkg --print-architecture)" = amd64 ]; then
    if command -v aarch64-linux-gnu-g++ >/dev/null; then
        "$root/scripts/build-deb.sh" "$root/dist" arm64
    else
        echo "package.sh: no arm64 cross compiler (scripts/setup.sh installs it): no arm64 package" >&2
    fi
fi
ls "$root/dist/"*.zip "$root/dist/"*.deb
