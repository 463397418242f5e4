#!/bin/bash
# Makes the Wine prefix PREFIX once; later calls return at once. A prefix
# made before 32-bit Wine was installed starts nothing once it is there, so
# such a prefix (it has no syswow64) is made again.
#   wine-prefix.sh PREFIX
set -u
prefix=$1
mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ -x /usr/lib/wine/wine ] && [ ! -d "$prefix/drive_c/windows/syswow64" ]; then
        rm -f "$prefix/.ready"
    fi
    if [ ! -f "$prefix/.ready" ]; then
        rm -rf "$prefix"
        WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
            wineboot -i >/dev/null 2>&1 &&
            # Wine draws the captions itself, as there is no window manager.
            WINEPREFIX=$prefix WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\X11 Driver' \
                /v Decorated /d N /f >/dev/null 2>&1 &&
            WINEPREFIX=$prefix wineserver -w && touch "$prefix/.ready"
    fi
) 9>"$prefix.lock"
[ -f "$prefix/.ready" ]
