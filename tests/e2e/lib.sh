# Shared by the end-to-end tests: a private Xvfb display and a private copy
# of the build's Wine prefix for each test, and small checks.
#   source lib.sh BUILD_DIR NAME [SCREEN]
set -u
build=$(cd "$1" && pwd)
name=$2
screen=${3:-1024x768}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$build/e2e/$name
rm -rf "$work"
mkdir -p "$work"

"$here/../wine-prefix.sh" "$build/wineprefix" || { echo "no Wine prefix"; exit 1; }
export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
cp -a "$build/wineprefix" "$WINEPREFIX"
system32=$WINEPREFIX/drive_c/windows/system32

exec 3< <(Xvfb -displayfd 4 -screen 0 "${screen}x24" -nolisten tcp 4>&1 2>/dev/null)
xvfb_pid=$!
read -r -t 20 display <&3 || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$display

e2e_cleanup() {
    wineserver -k 2>/dev/null
    kill "$xvfb_pid" 2>/dev/null
    rm -rf "$WINEPREFIX"
}
trap e2e_cleanup EXIT

# Without a window manager X focus follows the pointer; give it to the window
# as a window manager would after the user clicked it.
focus_window() { # focus_window TITLE_REGEX
    local id
    id=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && xdotool windowfocus "$id" 2>/dev/null
}

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
