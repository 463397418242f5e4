#!/bin/bash
# hack_stop.sh NATIVE_BUILD_DIR WIDTHxHEIGHT SECONDS [OPTION...]
#
# How long the X11 hack takes to end after SIGTERM and after SIGINT, each
# sent SECONDS into a --root run on a private Xvfb screen of the given size
# (with the options given, such as --delay 0).
set -u
build=$(cd "$1" && pwd)
size=$2
seconds=$3
shift 3
exec 3< <(Xvfb -displayfd 4 -screen 0 "${size}x24" -nolisten tcp -noreset 4>&1 2>/dev/null)
xvfb=$!
read -r -t 20 display <&3 || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$display
for signal in TERM INT; do
    "$build/verdanelle" --root "$@" &
    hack=$!
    sleep "$seconds"
    sent=$(date +%s%N)
    kill -"$signal" "$hack"
    wait "$hack"
    rc=$?
    echo "SIG$signal after $seconds s: exit $rc in $((($(date +%s%N) - sent) / 1000000)) ms"
done
kill "$xvfb"
