#!/bin/bash
# Installs from Debian whatever the build, the tests and a run need and is
# not there yet. Quick when everything is installed.
set -euo pipefail

packages=(
    cmake make g++ libgtest-dev libbenchmark-dev        # native build and tests
    g++-mingw-w64-x86-64 mingw-w64-tools                # Windows cross build
    wine wine64                                          # runs the Windows programs
    xvfb xauth libgl1-mesa-dri libglx-mesa0              # a display with OpenGL
    xdotool x11-utils imagemagick apitrace               # input, screenshots, GL traces
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The i386 loader makes the wine wrapper prefer it, and 32-bit programs
# cannot start on these kernels: every program would fail to run.
if dpkg-query -W -f='${Status}' wine32 2>/dev/null | grep -q 'install ok installed'; then
    echo "setup: wine32 is installed and breaks Wine here; remove it (apt-get remove wine32)" >&2
    exit 1
fi
