#!/bin/sh
# Every malformed command line gets one usage line on stderr and exit code 2.
trace=$1
fail=0
check() {
    err=$("$trace" "$@" 2>&1 >/dev/null)
    rc=$?
    lines=$(printf '%s\n' "$err" | wc -l)
    if [ "$rc" -ne 2 ] || [ "$lines" -ne 1 ] || ! printf '%s' "$err" | grep -q '^usage: fern-trace'; then
        echo "FAIL: fern-trace $* gave exit $rc and: $err"
        fail=1
    fi
}
check
check 640 480 10
check 640 480 10 10 10
check 0 480 0 0
check 16385 480 0 0
check 640 -1 0 0
check 640 480 -1 0
check 640 480 5 4
check 640x 480 0 0
check 640 480 0 1.5
check 640 480 0 ''
check ' 640' 480 0 0
check 640 480 0 99999999999
"$trace" 1 1 0 0 >/dev/null || { echo "FAIL: 1 1 0 0"; fail=1; }
"$trace" 16384 16384 0 0 >/dev/null || { echo "FAIL: 16384 16384 0 0"; fail=1; }
[ "$("$trace" 1 1 3 3)" = "tick 3" ] || { echo "FAIL: a tick with no calls still prints its line"; fail=1; }
exit $fail
