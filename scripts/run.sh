#!/bin/bash
# Sets up whatever is missing, builds, and runs Verdanelle.scr /s under Wine.
# With a display (DISPLAY set) it runs there, full screen, until input ends
# it. Without one it runs for a few seconds on a private Xvfb and writes
# screenshots of the growing fern to shots/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" >/dev/null

export WINEPREFIX=${WINEPREFIX:-$root/build/run-prefix}
export WINEDEBUG=-all
"$root/tests/wine-prefix.sh" "$WINEPREFIX"
saver=$root/build/win64/Verdanelle.scr

if [ -n "${DISPLAY:-}" ]; then
    exec wine "$saver" /s
fi

shots=$root/shots
mkdir -p "$shots"
exec 3< <(Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp -noreset 4>&1 2>/dev/null)
xvfb=$!
read -r -t 20 display <&3
export DISPLAY=:$display
trap 'WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT

wine "$saver" /s &
for second in 1 2 3 4 5 6; do
    sleep 1
    import -window root "$shots/fern-$second.png"
done
echo "Screenshots of the growing fern are in $shots/"
