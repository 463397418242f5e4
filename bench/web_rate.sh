#!/bin/bash
# web_rate.sh [SECONDS]
#
# The page's ticks a second in headless Chromium at 1920 x 1080 and
# 3840 x 2160, figure by figure (its timer allows 20), then the walk's time
# per pair as WebAssembly (under node) and natively, on this machine in one
# run. Needs build/web and build/native built.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-40}
for size in 1920x1080 3840x2160; do
    node "$root/bench/web_rate.mjs" "$root/build/web/site" "$size" "$seconds"
done
echo "WebAssembly walk:"
node --no-experimental-fetch "$root/build/web/walk_timing.js"
echo "native walk:"
"$root/build/native/walk_timing"
