#!/bin/bash
# Sets up whatever is missing and writes the release to dist/, made afresh:
# Verdanelle-VERSION-x64.zip, -x86.zip and -web.zip (the static site); the
# Debian source package (verdanelle_VERSION.orig.tar.gz, from the commit,
# with its .debian.tar.xz and .dsc) and the hack built from it for Debian and
# Ubuntu, verdanelle_VERSION-1_ARCH.deb, for this machine's architecture and,
# cross-built on amd64, for arm64; and SHA256SUMS, which `sha256sum -c` reads.
# Run on one commit, from any clone, at any time, it writes the same bytes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
umask 022 # the modes of the files that go into the tarballs
"$root/scripts/setup.sh"
git -C "$root" rev-parse --verify -q HEAD >/dev/null ||
    { echo "package.sh: needs a git checkout: the source package is made from its last commit" >&2; exit 1; }
[ -z "$(git -C "$root" status --porcelain --untracked-files=no)" ] ||
    echo "package.sh: the tree has changes that are not committed; the source package leaves them out" >&2
dist=$root/dist
rm -rf "$dist"
mkdir -p "$dist"

SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct) "$root/scripts/build-release.sh" "$root/build/release"
cp "$root/build/release/"*.zip "$dist/"

# The source package: the commit less debian/ as the upstream tarball, and
# debian/ beside it, as Debian keeps a package whose software is not only
# for Debian. The Debian packages are built from that alone and take their
# time from debian/changelog, as any rebuild of the .dsc does.
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -SVersion)
upstream=${version%-*}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git -C "$root" archive --format=tar --prefix="verdanelle-$upstream/" HEAD ':(exclude)debian' |
    gzip -9n >"$dist/verdanelle_$upstream.orig.tar.gz"
tar -C "$work" -xzf "$dist/verdanelle_$upstream.orig.tar.gz"
git -C "$root" archive --format=tar --prefix="verdanelle-$upstream/" HEAD debian | tar -C "$work" -xf -
cp "$dist/verdanelle_$upstream.orig.tar.gz" "$work/"
(cd "$work" && dpkg-source -b "verdanelle-$upstream" >/dev/null)
cp "$work/verdanelle_$version.dsc" "$work/verdanelle_$version.debian.tar.xz" "$dist/"
dsc=$dist/verdanelle_$version.dsc
"$root/scripts/build-deb.sh" "$dist" "$(dpkg --print-architecture)" "$dsc"
if [ "$(dpkg --print-architecture)" = amd64 ]; then
    if command -v aarch64-linux-gnu-g++ >/dev/null; then
        "$root/scripts/build-deb.sh" "$dist" arm64 "$dsc"
    else
        echo "package.sh: no arm64 cross compiler (scripts/setup.sh installs it): no arm64 package" >&2
    fi
fi
(cd "$dist" && LC_ALL=C sha256sum -- * >SHA256SUMS && cat SHA256SUMS)
