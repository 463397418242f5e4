#!/bin/bash
# Runs the test command as a new user would on a fresh Debian of the release
# named: in a chroot made with debootstrap (kept in DIR for the next run),
# with this checkout's files copied in, committed or not. Or, with --rebuild,
# builds the Debian packages from the source package DSC alone, in a chroot
# that holds nothing but its Build-Depends, and prints their SHA-256 sums.
# As root.
#   test-in-debian.sh RELEASE [DIR]      for instance: test-in-debian.sh trixie
#   test-in-debian.sh --rebuild DSC RELEASE [DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/apt_lock.sh"
dsc=""
if [ "${1:-}" = --rebuild ]; then
    dsc=$(realpath "${2:?usage: test-in-debian.sh --rebuild DSC RELEASE [DIR]}")
    shift 2
fi
release=${1:?usage: test-in-debian.sh RELEASE [DIR]}
dir=${2:-$root/build/debian-$release${dsc:+-rebuild}}
[ "$(id -u)" -eq 0 ] || { echo "test-in-debian.sh: debootstrap and chroot need root" >&2; exit 1; }
command -v debootstrap >/dev/null || { apt_get update -q && apt_get install -y -q debootstrap; }
[ -x "$dir/bin/bash" ] || debootstrap --variant=minbase "$release" "$dir" http://deb.debian.org/debian

# What Xvfb, Wine and Chromium need of the host: processes, devices, shared memory.
mount -t proc proc "$dir/proc"
mount --rbind /sys "$dir/sys" && mount --make-rslave "$dir/sys"
mount --rbind /dev "$dir/dev" && mount --make-rslave "$dir/dev"
trap 'umount -R "$dir/dev" "$dir/sys" "$dir/proc" 2>/dev/null || true' EXIT
cp /etc/resolv.conf "$dir/etc/resolv.conf"
inside() { chroot "$dir" env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 CI="${CI:-}" NODE_EXTRA_CA_CERTS=/etc/ssl/certs/ca-certificates.crt "$@"; }
apt_get --root "$dir" update -q >/dev/null
apt_get --root "$dir" install -y -q --no-install-recommends ca-certificates >/dev/null
# This machine's certificate authorities, which its network may need.
cp /etc/ssl/certs/ca-certificates.crt "$dir/etc/ssl/certs/ca-certificates.crt"

if [ -n "$dsc" ]; then
    rm -rf "$dir/root/rebuild"
    mkdir -p "$dir/root/rebuild"
    for file in "$dsc" $(awk '/^Files:/ { on = 1; next } /^[^ ]/ { on = 0 } on { print $3 }' "$dsc"); do
        cp "$(dirname "$dsc")/$(basename "$file")" "$dir/root/rebuild/"
    done
    name=$(basename "$dsc")
    apt_get --root "$dir" install -y -q --no-install-recommends dpkg-dev >/dev/null
    apt_get --root "$dir" build-dep -y -q "/root/rebuild/$name" >/dev/null
    inside sh -c "cd /root/rebuild && dpkg-source -x $name built >/dev/null &&
        cd built && dpkg-buildpackage -us -uc -b >../build.log 2>&1" ||
        { tail -n 40 "$dir/root/rebuild/build.log" >&2; exit 1; }
    (cd "$dir/root/rebuild" && sha256sum -- *.deb)
    exit 0
fi
rm -rf "$dir/root/verdanelle"
mkdir -p "$dir/root/verdanelle"
tar -C "$root" --exclude=./build --exclude=./dist --exclude=./.git --exclude=node_modules -cf - . |
    tar -C "$dir/root/verdanelle" -xf -
start=$(date +%s)
status=0
inside bash /root/verdanelle/scripts/test.sh || status=$?
echo "test-in-debian.sh: $release: the test command ended with $status after $(($(date +%s) - start)) s"
exit $status
