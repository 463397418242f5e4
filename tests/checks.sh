# Checks that count passes and failures, for the test scripts.
failures=0
passes=0
check() { # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        echo "FAIL: $what"
    fi
}
equals() { [ "$1" = "$2" ] || { echo "  got:  '$1'"; echo "  want: '$2'"; return 1; }; }
field() { sed -n "s/^$1=//p" <<<"$2" | tr -d '\r'; } # field NAME PROBE_OUTPUT
finish() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}
