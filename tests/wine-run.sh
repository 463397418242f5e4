#!/bin/bash
# Runs one Windows program under Wine for CTest:
#   wine-run.sh BUILD_DIR PROGRAM [ARGS...]
# Every run gets a private Xvfb display, so tests never draw on the user's
# screen, and the build tree's own Wine prefix, made once.
set -u
build=$1
shift
export WINEPREFIX=${VERDANELLE_WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}

"$(dirname "$0")/wine-prefix.sh" "$WINEPREFIX" || { echo "wine-run: no Wine prefix" >&2; exit 1; }

exec 3< <(Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp -noreset 4>&1 2>/dev/null)
xvfb=$!
read -r -t 20 display <&3 || { echo "wine-run: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$display

wine "$@"
rc=$?
kill "$xvfb" 2>/dev/null
exit $rc
