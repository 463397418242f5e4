#!/bin/bash
# Sets up whatever is missing, builds every configuration and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tests/checks.sh"
mark_processes run
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

stop_wine() {
    for build in win64 win32; do
        WINEPREFIX="$root/build/$build/wineprefix" wineserver -k 2>/dev/null || true
    done
}
# Interrupted, nothing of the run's stays behind either.
trap 'stop_wine; end_marked "$VERDANELLE_MARK"' EXIT

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
ctest --test-dir "$root/build/fuzz" --output-on-failure -j"$(nproc)" || status=1

# Each test ends what it started: a process of the run still there a few
# seconds after the last (Wine's servers let go) is a test's fault.
stop_wine
for _ in $(seq 50); do [ -z "$(marked_processes "$VERDANELLE_MARK")" ] && break; sleep 0.2; done
left=$(marked_processes "$VERDANELLE_MARK")
if [ -n "$left" ]; then
    echo "FAIL: the tests left these running (now ended):"
    sed 's/^/  /' <<<"$left"
    status=1
else
    echo "Nothing the tests started is left running."
fi
exit $status
