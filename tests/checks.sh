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

# Mean red, green and blue (0 to 1) of a region of a screenshot.
region_mean() { # region_mean FILE WxH+X+Y
    convert "$1" -crop "$2" +repage -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]' info:
}
# How much greener than red and blue a region is, on average (0 to 1).
greenness() { # greenness FILE WxH+X+Y
    convert "$1" -crop "$2" +repage -format '%[fx:mean.g - (mean.r + mean.b) / 2]' info:
}
# Is the first number above the second?
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# Runs a command in the background; its exit code lands in $work/NAME.rc,
# since a command substitution cannot wait for it.
in_background() { # in_background NAME COMMAND...
    local name=$1
    shift
    rm -f "$work/$name.rc"
    ("$@"; echo $? >"$work/$name.rc") &
}
# Waits for it to end by itself; prints its exit code, or "running".
exit_code() { # exit_code NAME SECONDS
    local i
    for ((i = 0; i < $2 * 10; i++)); do
        [ -f "$work/$1.rc" ] && break
        sleep 0.1
    done
    cat "$work/$1.rc" 2>/dev/null || echo running
}
