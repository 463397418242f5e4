#!/bin/bash
# hack_rate.sh NATIVE_BUILD_DIR WIDTHxHEIGHT SECONDS
#
# How many ticks a second the X11 hack draws with --root on a private Xvfb
# screen of the given size, with Mesa, figure by figure (its default delay
# allows 20).
set -u
build=$(cd "$1" && pwd)
work=$build/rate-$2
mkdir -p "$work"
exec 3< <(Xvfb -displayfd 4 -screen 0 "$2x24" -nolisten tcp -noreset 4>&1 2>/dev/null)
xvfb=$!
read -r -t 20 display <&3 || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$display
source "$(dirname "$0")/tick_count.sh"
count_ticks "$3" "$build/verdanelle" --root
kill "$xvfb"
