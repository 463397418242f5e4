#!/bin/bash
# Makes the Wine prefix PREFIX once; later calls return at once.
#   wine-prefix.sh PREFIX
set -u
prefix=$1
mkdir -p "$(dirname "$prefix")"
(
    flock 9
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
