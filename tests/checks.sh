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

# Every process a test script starts carries its mark in its environment,
# below the mark of the script that ran it (run1/hack2), so that the script's
# end finds whatever it left running: daemons that left their parents, and
# processes of other users.
mark_processes() { export VERDANELLE_MARK=${VERDANELLE_MARK:+$VERDANELLE_MARK/}$1$$; }
marked_processes() { # marked_processes MARK: "PID COMMAND" of each but this shell
    local file pid
    for file in $(grep -lzxE "VERDANELLE_MARK=$1(/.*)?" /proc/[0-9]*/environ 2>/dev/null); do
        pid=${file//[^0-9]/}
        [ "$pid" != $$ ] && [ "$pid" != "$BASHPID" ] && [ -e "/proc/$pid" ] || continue
        echo "$pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | cut -c1-120)"
    done
}
end_marked() { # end_marked MARK: TERM, and KILL to what is left after two seconds
    local left i
    for i in 1 2 3 4 5 6 7 8 9 10 11; do
        left=$(marked_processes "$1") # no pipe: its other end would be marked too
        [ -n "$left" ] || return 0
        left=$(cut -d' ' -f1 <<<"$left")
        case $i in 1) kill -TERM $left ;; 11) kill -KILL $left ;; *) sleep 0.2 ;; esac 2>/dev/null
    done
}
