#!/bin/bash
# Sets up whatever is missing, builds both configurations and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

stop_wine() { WINEPREFIX="$root/build/win64/wineprefix" wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT

status=0
ctest --test-dir "$root/build/native" --output-on-failure -j"$(nproc)" || status=1
ctest --test-dir "$root/build/win64" --output-on-failure || status=1
exit $status
