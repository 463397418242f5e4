#!/bin/bash
# Builds the Debian package the Debian way (debian/ and dpkg-buildpackage) in
# a copy of the sources: for this machine's architecture with the native
# tests, or cross-built for the one named, without them. Writes
# verdanelle_VERSION_ARCH.deb into OUT_DIR.
#   build-deb.sh OUT_DIR [ARCH]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
arch=${2:-$(dpkg --print-architecture)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/verdanelle"
tar -C "$root" --exclude=./build --exclude=./dist --exclude=./.git --exclude=node_modules -cf - . |
    tar -C "$work/verdanelle" -xf -
options=(-us -uc -b)
export DEB_BUILD_OPTIONS="parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}"
if [ "$arch" != "$(dpkg --print-architecture)" ]; then
    options+=(-a "$arch" -Pcross,nocheck)
    DEB_BUILD_OPTIONS+=" nocheck"
fi
if ! (cd "$work/verdanelle" && dpkg-buildpackage "${options[@]}") >"$work/build.log" 2>&1; then
    tail -n 40 "$work/build.log" >&2
    echo "build-deb.sh: dpkg-buildpackage failed for $arch" >&2
    exit 1
fi
cp "$work"/verdanelle_*_"$arch".deb "$out/"
