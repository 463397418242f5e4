#!/bin/bash
# Sets up whatever is missing, builds every configuration and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

stop_wine() {
    for build in win64 win32; do
        WINEPREFIX="$root/build/$build/wineprefix" wineserver -k 2>/dev/null || true
    done
}
trap stop_wine EXIT

status=0
ctest --test-dir "$root/build/native" --output-on-failure -j"$(nproc)" || status=1
ctest --test-dir "$root/build/win64" --output-on-failure || status=1
if "$root/scripts/runs-i386.sh"; then
    ctest --test-dir "$root/build/win32" --output-on-failure || status=1
else
    echo "**************************************************************************"
    echo "SKIPPED: the 32-bit Wine lane. This kernel cannot start 32-bit programs,"
    echo "so 32-bit Wine cannot run here; only the checks of the built files run."
    echo "**************************************************************************"
    ctest --test-dir "$root/build/win32" --output-on-failure -L without_wine || status=1
fi
ctest --test-dir "$root/build/web" --output-on-failure || status=1
exit $status
