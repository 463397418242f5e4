#!/bin/bash
# Installs from Debian whatever the build, the tests and a run need and is
# not there yet. Quick when everything is installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
    cmake make g++ libgtest-dev libbenchmark-dev        # native build and tests
    g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools  # Windows cross builds
    wine wine64                                          # runs the Windows programs
    xvfb xauth libgl1-mesa-dri libglx-mesa0              # a display with OpenGL
    xdotool x11-utils imagemagick apitrace               # input, screenshots, GL traces
    libx11-dev libgl-dev xscreensaver procps             # the X11 hack and its daemon
)
# 32-bit Wine, only where this kernel starts 32-bit programs: elsewhere the
# i386 loader, which the wine wrapper prefers, would break every Wine run.
packages32=(wine32:i386 libgl1:i386 libglx0:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
    apitrace-tracers:i386)

installed() { [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]; }

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

missing=()
for p in "${packages[@]}"; do installed "$p" || missing+=("$p"); done
if "$root/scripts/runs-i386.sh"; then
    for p in "${packages32[@]}"; do installed "$p" || missing+=("$p"); done
    if [ ${#missing[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
elif installed wine32:i386; then
    echo "setup: this kernel cannot start 32-bit programs, and wine32 breaks Wine here;" \
        "remove it (apt-get remove wine32)" >&2
    exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
