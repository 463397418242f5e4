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
# The PE machine field of the saver: 014c for 32-bit x86, 8664 for x64.
pe_offset=$(od -An -tu4 -j60 -N4 "$build/Verdanelle.scr" 2>/dev/null | tr -d ' ')
case $(od -An -tx2 -j$((${pe_offset:-0} + 4)) -N2 "$build/Verdanelle.scr" 2>/dev/null | tr -d ' ') in
    014c) arch=i386 ;;
    *) arch=x86_64 ;;
esac
# The folder a program of the build sees as C:\windows\system32: a 32-bit one
# in a prefix that also runs 64-bit programs is redirected to syswow64.
system32=$WINEPREFIX/drive_c/windows/system32
if [ "$arch" = i386 ] && [ -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
    system32=$WINEPREFIX/drive_c/windows/syswow64
fi

exec 3< <(Xvfb -displayfd 4 -screen 0 "${screen}x24" -nolisten tcp -noreset 4>&1 2>/dev/null)
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

source "$here/../checks.sh"

start_saver() {
    in_background saver timeout 120 wine "$build/Verdanelle.scr" "$@"
    saver_pid=$!
}
saver_exit() { exit_code saver "$1"; } # saver_exit SECONDS
stop_saver() {
    kill "$saver_pid" 2>/dev/null
    wait "$saver_pid" 2>/dev/null
    wineserver -k 2>/dev/null
}
probe_saver() { wine "$build/window_probe.exe" WindowsScreenSaverClass "${1:-Screen Saver}"; }

# Runs a command with every OpenGL call its Wine process makes recorded in
# FILE. `apitrace trace` follows only 64-bit processes, so the tracer of the
# program's own architecture is preloaded directly.
traced() { # traced FILE COMMAND...
    local file=$1
    shift
    LD_PRELOAD=/usr/lib/$arch-linux-gnu/apitrace/wrappers/glxtrace.so TRACE_FILE=$file "$@"
}

source "$here/../call_stream.sh"
fern_trace=${FERN_TRACE:-$build/../native/fern-trace}

# Wine's relay trace (WINEDEBUG=+relay on stderr), narrowed to the functions
# named, shows a program's calls of them with their results, also of those it
# looks up at run time.
relay_only() { # relay_only 'module.Name;module.Name...'
    wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d "$1" /f >/dev/null 2>&1
}
# The calls in such a trace, one a line as they return: "Name(first
# argument) = result", numbers by their low 32 bits, alike on both
# architectures.
relayed() { # relayed FILE
    awk 'function low(x) { return length(x) > 8 ? substr(x, length(x) - 7) : x }
        match($0, /:Call [A-Za-z0-9_]+\.[A-Za-z0-9_]+\(/) {
            name = substr($0, RSTART + 6, RLENGTH - 7)
            sub(/^[^.]*\./, "", name)
            arg = substr($0, RSTART + RLENGTH)
            sub(/[ ,)].*/, "", arg)
            calls[++depth] = name "(" low(arg) ")"
        }
        depth > 0 && match($0, /:Ret  [A-Za-z0-9_.]+\(\) retval=[0-9a-f]+/) {
            result = substr($0, RSTART, RLENGTH)
            sub(/.*retval=/, "", result)
            print calls[depth--] " = " low(result)
        }' "$1"
}
