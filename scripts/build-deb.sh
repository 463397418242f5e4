#!/bin/bash
# Builds the Debian package the Debian way (debian/ and dpkg-buildpackage) in
# a copy of the sources, or from the source package DSC: for this machine's
# architecture with the native tests, or cross-built for the one named,
# without them. Its time is debian/changelog's, as in any rebuild of the
# source package. Writes verdanelle_VERSION_ARCH.deb into OUT_DIR.
#   build-deb.sh OUT_DIR [ARCH [DSC]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)
arch=${2:-$(dpkg --print-architecture)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "${3:-}" ]; then
    dpkg-source -x "$3" "$work/verdanelle" > /dev/null 2> >(grep -v "extracting unsigned" >&2)
else
    mkdir "$work/verdanelle"
    tar -C "$root" --exclude=./build --exclude=./dist --exclude=./.git --exclude=node_modules -cf - . |
        tar -C "$work/verdanelle" -xf -
fi
unset SOURCE_DATE_EPOCH
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
