#!/bin/bash
# wine_rate.sh BUILD_DIR WIDTHxHEIGHT SECONDS [SCR]
#
# How many ticks a second the real screen saver draws under Wine and Mesa on
# a private Xvfb screen of the given size, figure by figure (the timer allows
# 20). Either Windows build.
set -u
build=$1
size=$2
seconds=$3
scr=${4:-$1/Verdanelle.scr}
source "$(dirname "$0")/../tests/e2e/lib.sh" "$build" "rate-$size" "$size"
source "$(dirname "$0")/tick_count.sh"
count_ticks "$seconds" wine "$scr" /s
wineserver -k
