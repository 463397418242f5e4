#!/bin/bash
# Installs from Debian whatever the build, the tests and a run need and is
# not there yet; with `web`, only what the web page's build and server need.
# Quick when everything is installed.
#   setup.sh [web]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/apt_lock.sh"

packages=(
    cmake make g++ libgtest-dev libbenchmark-dev        # native build and tests,
    clang libclang-rt-dev                                # the fuzz targets (libFuzzer),
    clang-format                                         # and the committed style
    g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools  # Windows cross builds
    wine wine64                                          # runs the Windows programs
    xvfb xauth libgl1-mesa-dri libglx-mesa0              # a display with OpenGL
    xdotool x11-utils x11-xserver-utils imagemagick apitrace  # input, blanking, screenshots, GL traces,
    xrestop                                              # the X server's resources per client
    libx11-dev libxss-dev libxrandr-dev libgl-dev xscreensaver procps  # the X11 hack and its daemons,
    i3-wm                                                # a window manager over two monitors,
    libwayland-dev libegl-dev wayland-protocols libxkbcommon-dev  # the Wayland hack,
    plasma-wayland-protocols libsystemd-dev              # its idle watch and the desktop's D-Bus,
    sway swayidle grim wtype wayvnc                      # a compositor, its idle daemon, screenshots, keys, a pointer
    kwin-wayland mutter weston dbus-daemon               # and the other compositors, headless
    mate-screensaver dbus-x11 libglib2.0-bin             # MATE's with a session bus and gsettings,
    build-essential dpkg-dev debhelper lintian           # and its Debian package,
    strip-nondeterminism                                 # release zips the same from any build,
    desktop-file-utils man-db
    emscripten chromium                                  # the web page and its browsers:
    firefox-esr webkit2gtk-driver                        # Gecko, and WebKit with its driver
)
# 32-bit Wine, only where this kernel starts 32-bit programs: elsewhere the
# i386 loader, which the wine wrapper prefers, would break every Wine run.
packages32=(wine32:i386 libgl1:i386 libglx0:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
    apitrace-tracers:i386)

# installed NAME[:ARCH]: for this machine's own architecture unless named.
installed() {
    local name=${1%%:*} arch=${1#*:}
    [ "$arch" != "$1" ] || arch=$(dpkg --print-architecture)
    dpkg-query -W -f='${Status} ${Architecture}\n' "$name" 2>/dev/null |
        grep -qE "^install ok installed ($arch|all)\$"
}

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
add_architecture() { # dpkg takes its lock for this too
    dpkg --print-foreign-architectures | grep -qx "$1" && return 0
    wait_for_apt && $sudo dpkg --add-architecture "$1"
}

install_missing() { # install_missing PACKAGE...
    local missing=() p
    for p in "$@"; do installed "$p" || missing+=("$p"); done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "setup: installing ${missing[*]}"
    apt_get update -q
    apt_get install -y -q --no-install-recommends "${missing[@]}"
}

if [ "${1:-}" = web ]; then
    install_missing cmake make emscripten python3
    exit 0
fi

# First what every machine gets; it brings the assembler that tells whether
# this kernel starts 32-bit programs.
install_missing "${packages[@]}"
if "$root/scripts/runs-i386.sh"; then
    add_architecture i386
    install_missing "${packages32[@]}"
elif installed wine32:i386; then
    echo "setup: this kernel cannot start 32-bit programs, and wine32 breaks Wine here;" \
        "remove it (apt-get remove wine32)" >&2
    exit 1
fi

# On amd64 the arm64 package is cross-built, and its programs run under qemu.
packages_arm64=(crossbuild-essential-arm64 qemu-user-static libx11-dev:arm64 libxss-dev:arm64 libxrandr-dev:arm64
    libgl-dev:arm64 libgl1-mesa-dri:arm64 libglx-mesa0:arm64 libwayland-dev:arm64 libegl-dev:arm64
    libegl-mesa0:arm64 libxkbcommon-dev:arm64 libsystemd-dev:arm64)
if [ "$(dpkg --print-architecture)" = amd64 ]; then
    if ! { add_architecture arm64 && install_missing "${packages_arm64[@]}"; }; then
        echo "setup: cannot install the arm64 cross compiler, qemu and libraries," \
            "which the tests need to build and check the arm64 package" >&2
        exit 1
    fi
fi

# The page's tests drive Chromium with playwright-core and Firefox with
# puppeteer-core, from npm, pinned in the lock file; neither downloads a browser. Node and npm come with the machine or
# from Debian.
command -v npm >/dev/null || install_missing nodejs npm
web_tests=$root/tests/web
if ! cmp -s "$web_tests/package-lock.json" "$web_tests/node_modules/.installed-lock" 2>/dev/null; then
    (cd "$web_tests" && npm ci --no-audit --no-fund --loglevel=error &&
        cp package-lock.json node_modules/.installed-lock)
fi
