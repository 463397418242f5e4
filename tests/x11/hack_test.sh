#!/bin/bash
# The real verdanelle hack on a private Xvfb: on a window it is given, in a
# window of its own, under the real screen-saver daemons (MATE's installed
# from the Debian package, and removed again), its call stream, and what it
# refuses.
#   hack_test.sh NATIVE_BUILD_DIR
set -u
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../checks.sh"
source "$here/../call_stream.sh"
source "$here/../../scripts/apt_lock.sh"
mark_processes hack
hack=$build/verdanelle
helper=$build/x11-helper
fern_trace=$build/fern-trace
work=$build/hack-e2e
rm -rf "$work"
mkdir -p "$work"

# Without -noreset the server resets each time its last client leaves, and a
# client that connects meanwhile is refused ("cannot open display").
exec 3< <(Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp -noreset 4>&1 2>/dev/null)
xvfb_pid=$!
read -r -t 20 display <&3 || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$display
cleanup() {
    pkill -TERM -f "^$hack" 2>/dev/null
    if [ -n "${home:-}" ]; then # the daemon's run, should a check have cut it short
        pkill -u nobody -x xscreensaver 2>/dev/null
        pkill -u nobody -f "$home/" 2>/dev/null
        rm -rf "$home"
    fi
    [ -z "${idle_bus:-}" ] || kill "$idle_bus" 2>/dev/null
    [ -z "${mate_pid:-}" ] || kill "$mate_pid" "$DBUS_SESSION_BUS_PID" 2>/dev/null
    [ -z "${installed:-}" ] || apt_get remove -y -q verdanelle >/dev/null 2>&1
    kill "$xvfb_pid" 2>/dev/null
    end_marked "$VERDANELLE_MARK" # and whatever else it started: compositors, buses, helpers
}
trap cleanup EXIT

start_hack() { in_background hack timeout 60 "$@" 2>"$work/hack.err"; }
hack_exit() { # hack_exit SECONDS; a failure's stderr goes to the log
    local rc
    rc=$(exit_code hack "$1")
    [ "$rc" = 0 ] || sed 's/^/  its stderr: /' "$work/hack.err" >&2
    echo "$rc"
}
# A window of the test's own at the top left, until its maker is killed.
make_window() { # make_window WIDTH HEIGHT: sets window and window_pid
    rm -f "$work/window.id"
    "$helper" window "$1" "$2" >"$work/window.id" &
    window_pid=$!
    for _ in $(seq 50); do [ -s "$work/window.id" ] && break; sleep 0.1; done
    window=$(cat "$work/window.id")
}
drop_window() { kill "$window_pid"; wait "$window_pid" 2>/dev/null; }

# --- Bad input: one line on stderr, and the exit code.
while read -r code display_name args; do
    rc=$(DISPLAY=$display_name "$hack" $args 2>"$work/err"; echo $?)
    check "'$args' on '$display_name' exits $code" equals "$rc" "$code"
    check "'$args': one line on stderr" grep -q '^verdanelle: ' "$work/err"
    check "'$args': only one" equals "$(wc -l <"$work/err")" 1
done <<TABLE
2 :$display --fps
2 :$display --window-id abc
2 :$display --window-id 0x1fffff0
2 :$display --delay soon
2 :$display --idle 0
1 :4097 --root
1 :4097
TABLE

for help in --help -h; do
    usage=$("$hack" "$help" 2>/dev/null)
    check "$help: the usage on stdout, exit 0" equals "${usage%%$'\n'*} $?" \
        "usage: verdanelle [--root | --window-id ID | --fullscreen | --idle SECONDS] 0"
done

# --- On a window it is given: the fern fills it; a new size starts anew.
make_window 320 240
start_hack apitrace trace -o "$work/window.trace" "$hack" --window-id "$window"
sleep 2
import -window root "$work/window.png"
check "--window-id: a stem rises from the middle of the window's bottom" \
    above "$(greenness "$work/window.png" 8x40+156+198)" 0.05
check "--window-id: nothing outside the window" equals "$(region_mean "$work/window.png" 600x400+400+300)" "0 0 0"
xdotool windowsize "$window" 400 300
sleep 2
import -window root "$work/resized.png"
check "resized: a stem rises from the middle of the new bottom" \
    above "$(greenness "$work/resized.png" 8x40+196+258)" 0.05
pkill -TERM -f "^$hack"
check "SIGTERM ends it with 0" equals "$(hack_exit 2)" 0
traced_calls "$work/window.trace" 30 >"$work/window.calls"
expected_calls 320 240 30 >"$work/window.expected"
check "--window-id: the first 30 ticks draw exactly the 320 x 240 fern" \
    same_calls "$work/window.calls" "$work/window.expected"
traced_calls "$work/window.trace" 20 'width = 400, height = 300' >"$work/resized.calls"
expected_calls 400 300 20 >"$work/resized.expected"
check "resized: then exactly the 400 x 300 fern from its first tick" \
    same_calls "$work/resized.calls" "$work/resized.expected"
check "the window's visual is double-buffered: drawn on its front buffer" \
    grep -q 'glDrawBuffer(mode = GL_FRONT)$' <(apitrace dump --color=never "$work/window.trace" 2>/dev/null)
check "resized: the viewport follows" \
    grep -q 'glViewport(x = 0, y = 0, width = 400, height = 300)$' <(apitrace dump --color=never "$work/window.trace" 2>/dev/null)

# Ticks running late (with --delay 0 each is due before the last ends) hold
# back neither signal.
for signal in TERM INT; do
    start_hack "$hack" --window-id "$window" --delay 0
    sleep 1
    pid=$(pgrep -f "^$hack")
    sent=$(date +%s%N)
    kill -"$signal" "$pid"
    for _ in $(seq 400); do kill -0 "$pid" 2>/dev/null || break; sleep 0.005; done
    echo "ticks running late: SIG$signal, then $((($(date +%s%N) - sent) / 1000000)) ms to its end"
    check "ticks running late: SIG$signal ends it with 0" equals "$(hack_exit 2)" 0
    kill -KILL "$pid" 2>/dev/null # should it have lived on
done

# Between ticks it sleeps: a tick in 3 s leaves the processor nearly idle
# (a busy wait would take 3.5 s of it). A window over its own and gone
# again: the picture is back at once, long before the next tick. Then its
# window destroyed under it.
start_hack "$hack" --window-id "$window" --delay 3000000
sleep 3.5
cpu() { read -r -a stat <"/proc/$1/stat"; echo $((stat[13] + stat[14])); } # clock ticks
check "it sleeps between ticks: $(cpu "$(pgrep -f "^$hack")") clock ticks of CPU in 3.5 s" \
    above 50 "$(cpu "$(pgrep -f "^$hack")")"
"$helper" window 400 300 >/dev/null &
sleep 0.3
kill $!
sleep 0.2
import -window root "$work/exposed.png"
check "uncovered, the picture is back before the next tick" above "$(greenness "$work/exposed.png" 8x12+196+288)" 0.05
drop_window
check "the window destroyed under it ends it with 0" equals "$(hack_exit 2)" 0
make_window 200 150
XSCREENSAVER_WINDOW=$window start_hack "$hack" --root
sleep 1
import -window root "$work/root.png"
check "--root draws on XSCREENSAVER_WINDOW" above "$(greenness "$work/root.png" 8x30+96+118)" 0.05
pkill -INT -f "^$hack"
check "SIGINT ends it with 0" equals "$(hack_exit 2)" 0
drop_window
start_hack env -u XSCREENSAVER_WINDOW "$hack" --root
sleep 1
import -window root "$work/root-window.png"
check "--root without XSCREENSAVER_WINDOW draws on the root window" \
    above "$(greenness "$work/root-window.png" 8x60+508+700)" 0.05
pkill -TERM -f "^$hack"
check "which SIGTERM ends with 0" equals "$(hack_exit 2)" 0

# --- A window of its own, which Escape, q and the close button end.
for ending in Escape q close; do
    start_hack "$hack"
    own=""
    for _ in $(seq 50); do own=$(xdotool search --name '^Verdanelle$' 2>/dev/null | head -n 1); [ -n "$own" ] && break; sleep 0.1; done
    if [ "$ending" = Escape ]; then
        sleep 1
        import -window root "$work/own.png"
        check "own window: 1024 x 768" equals "$(xdotool getwindowgeometry "$own" | sed -n 's/ *Geometry: //p')" 1024x768
        check "own window: the fern grows in it" above "$(greenness "$work/own.png" 8x60+508+700)" 0.05
    fi
    case $ending in
        close) "$helper" close "$own" ;;
        *) xdotool key --window "$own" "$ending" 2>/dev/null ;;
    esac
    check "own window: $ending ends it with 0" equals "$(hack_exit 2)" 0
done

# --- Full screen: the screen's size, in a window no window manager moves;
# the pointer moved 4 pixels leaves it, the 5th, a key or a button ends it.
# The server's blanking pauses it.
for ending in movement key button; do
    xdotool mousemove 500 400
    start_hack "$hack" --fullscreen
    for _ in $(seq 50); do own=$(xdotool search --name '^Verdanelle$' 2>/dev/null | head -n 1); [ -n "$own" ] && break; sleep 0.1; done
    sleep 0.5
    case $ending in
        movement)
            check "full screen: the screen's size, override-redirect" equals \
                "$(xwininfo -id "$own" | sed -n 's/ *Width: //p; s/ *Height: //p; s/ *Override Redirect State: //p' | xargs)" \
                "1024 768 yes"
            xdotool mousemove_relative 2 2
            sleep 0.3
            check "full screen: 4 pixels of movement leave it running" test -n "$(pgrep -f "^$hack")"
            xdotool mousemove_relative 1 0 ;;
        key)
            xset s activate
            before=$(cpu "$(pgrep -f "^$hack")")
            sleep 2
            blanked=$(($(cpu "$(pgrep -f "^$hack")") - before))
            xset s reset
            sleep 1
            check "full screen: blanked by the server, $blanked clock ticks of CPU in 2 s; then it goes on" \
                equals "$((blanked < 5)) $(($(cpu "$(pgrep -f "^$hack")") - before > 5))" "1 1"
            xdotool key space ;;
        button) xdotool click 1 ;;
    esac
    check "full screen: $ending ends it with 0" equals "$(hack_exit 2)" 0
done
check "nothing left running" test -z "$(pgrep -f "^$hack")"

# --- Two monitors under i3, whose bar is on each, and a focused window:
# both dark, the fern on the first at its size; a second full screen cannot
# take the keyboard; the screen made smaller is followed; a key reaches only
# the fern.
xrandr --setmonitor LEFT 512/135x768/203+0+0 screen >/dev/null
xrandr --setmonitor RIGHT 512/135x768/203+512+0 none >/dev/null
printf '# i3 config file (v4)\nfont pango:monospace 8\nbar {\n    status_command echo status\n}\n' >"$work/i3.config"
in_background i3 i3 -c "$work/i3.config" >"$work/i3.log" 2>&1
sleep 1
xev -event keyboard >"$work/xev.log" &
xev_pid=$!
sleep 0.5
start_hack "$hack" --fullscreen
sleep 1.5
import -window root "$work/monitors.png"
check "two monitors: the fern on the first, at its size" above "$(greenness "$work/monitors.png" 8x40+252+720)" 0.05
check "two monitors: the rest dark, i3's bars under it" equals \
    "$(region_mean "$work/monitors.png" 512x768+512+0) $(region_mean "$work/monitors.png" 200x20+0+748)" "0 0 0 0 0 0"
rc=$("$hack" --fullscreen 2>"$work/err"; echo $?)
check "another full screen cannot take the keyboard: exit 1, saying so" equals \
    "$rc $(grep -c 'cannot take the keyboard' "$work/err")" "1 1"
xrandr --fb 800x600 >/dev/null 2>&1
sleep 0.5
own=$(xdotool search --name '^Verdanelle$' | head -n 1)
check "two monitors: a smaller screen followed" equals "$(xdotool getwindowgeometry "$own" |
    sed -n 's/ *Geometry: //p') $(xwininfo -id "$own" -tree | sed -n 's/.*: () *\([0-9x]*\)+.*/\1/p')" "800x600 512x600"
xdotool key h
check "two monitors: a key ends it with 0" equals "$(hack_exit 2)" 0
check "the focused window received no key" equals "$(grep -c KeyPress "$work/xev.log")" 0
kill "$xev_pid"; pkill -f "^i3 -c $work"
xrandr --delmonitor RIGHT >/dev/null; xrandr --delmonitor LEFT >/dev/null; xrandr --fb 1024x768 >/dev/null 2>&1

# --- --idle on X11 (the server's idle time): full screen after the idle
# period, hidden by a pointer movement with the process alive, shown again
# after the next period; and its line in the session's autostart.
x_shown() { xdotool search --name '^Verdanelle$' >/dev/null 2>&1; }
until_shown() { # until_shown yes|no: waits up to 5 s, then the ms it took
    local from=$(date +%s%N) now
    while now=$((($(date +%s%N) - from) / 1000000)) && [ "$now" -lt 5000 ]; do
        if x_shown; then [ "$1" = yes ] && break; else [ "$1" = no ] && break; fi
        sleep 0.01
    done
    echo "$now"
}
xdotool mousemove 300 300
make_window 50 50 # with the focus, as no window manager moves it
xdotool windowfocus "$window"
eval "$(dbus-launch --sh-syntax)" # a session bus, where it answers browsers' Inhibit calls
idle_bus=$DBUS_SESSION_BUS_PID
start_hack "$hack" --idle 2
sleep 1.5
check "--idle: nothing shown before the idle period" test -z "$(x_shown && echo shown)"
echo "X11 --idle: shown $(until_shown yes) ms after 1.5 s"
check "--idle: full screen once idle" x_shown
xdotool mousemove_relative 10 0
echo "X11 --idle: hidden $(until_shown no) ms after the pointer moved"
check "--idle: a movement hides it, and it goes on waiting" equals "$(x_shown && echo shown) $(pgrep -f "^$hack --idle" >/dev/null && echo alive)" " alive"
"$helper" grab 4 & # a menu held open through the next idle period
sleep 3.5
check "--idle: the keyboard held by another program: not shown, said once, still waiting" equals \
    "$(x_shown && echo shown) $(grep -c 'cannot take the keyboard' "$work/hack.err") $(pgrep -f "^$hack --idle" >/dev/null && echo alive)" " 1 alive"
wait $!
xdotool mousemove_relative 0 10
sleep 1.5
until_shown yes >/dev/null
check "--idle: shown again after the next idle period" x_shown
rc=$("$hack" --idle 2 2>"$work/err"; echo $?)
check "--idle: a second one exits 1 at once, naming the first" equals \
    "$rc $(grep -c "already runs for this display (process $(pgrep -f "^$hack --idle"))" "$work/err")" "1 1"
xdotool mousemove_relative 2 1
sleep 0.5
check "--idle: a nudge of 3 pixels, which the fern sees, leaves it shown" x_shown
# While it shows: a browser's Inhibit answered, and another caller cannot
# undo it; a Shift hides it; the inhibition
# keeps the next showing away until its caller goes.
sent=$(date +%s%N)
"$helper" inhibit 5 >"$work/cookie" & # a browser playing a video, for 5 s
for _ in $(seq 200); do [ -s "$work/cookie" ] && break; sleep 0.01; done
echo "X11 --idle: Inhibit answered $((($(date +%s%N) - sent) / 1000000)) ms after the call, while it shows"
check "--idle: Inhibit answered while it shows" equals "$(x_shown && echo shown) $(grep -c . "$work/cookie")" "shown 1"
check "--idle: UnInhibit of another caller's cookie is refused" grep -q 'no inhibition of yours' \
    <(gdbus call --session -d org.freedesktop.ScreenSaver -o /org/freedesktop/ScreenSaver \
        -m org.freedesktop.ScreenSaver.UnInhibit "$(cat "$work/cookie")" 2>&1)
xdotool key shift
echo "X11 --idle: hidden $(until_shown no) ms after a Shift"
sleep 2.5
check "--idle: hidden by the Shift, and kept away by the Inhibit made while it showed" test -z "$(x_shown && echo shown)"
wait $!
echo "X11 --idle: shown $(until_shown yes) ms after the Inhibit's caller went"
check "--idle: shown once the caller is gone" x_shown
pkill -TERM -f "^$hack --idle"
check "--idle: SIGTERM ends it with 0" equals "$(hack_exit 2)" 0
drop_window
# The desktop's own daemon takes org.freedesktop.ScreenSaver over; its power
# manager's HasInhibit then keeps the fern away. MATE's screen saver coming
# later ends it with 1.
xdotool mousemove_relative 10 0
start_hack "$hack" --idle 2
sleep 0.5
"$helper" own org.freedesktop.ScreenSaver 7 >"$work/owned" &
daemon=$!
"$helper" power-inhibit 3 &
sleep 2.8
check "--idle: a desktop daemon takes org.freedesktop.ScreenSaver over; its power manager's HasInhibit keeps it away" \
    equals "$(cat "$work/owned") $(x_shown && echo shown)" "owned "
wait $!
echo "X11 --idle: shown $(until_shown yes) ms after HasInhibitChanged(false)"
check "--idle: shown at the power manager's HasInhibitChanged(false)" x_shown
"$helper" own org.mate.ScreenSaver 2 >/dev/null &
check "--idle: MATE's screen saver started later: exit 1, saying so" equals \
    "$(hack_exit 3) $(grep -c "MATE's screen saver started" "$work/hack.err")" "1 1"
wait "$daemon" $!
# A smaller screen: the next showing has its size. Then 30 showings, each
# ended by the pointer: memory and the server's resources held.
xrandr --fb 800x600 >/dev/null 2>&1
start_hack "$hack" --idle 1
until_shown yes >/dev/null
own=$(xdotool search --name '^Verdanelle$' | head -n 1)
check "--idle: the screen's new size" equals "$(xdotool getwindowgeometry "$own" | sed -n 's/ *Geometry: //p')" 800x600
xrandr --fb 1024x768 >/dev/null 2>&1
held() { # resident kB, then the hack's X resources by kind
    local window base
    window=$(xdotool search --name '^Verdanelle$' | head -n 1)
    base=$(printf '0x%x' $((window & ~0x1fffff)))
    echo "$(awk '/^VmRSS/ { print $2 }' "/proc/$(pgrep -f "^$hack --idle")/status")" \
        "$(xrestop -b -m 1 | awk -v base="$base" '/res_base/ { on = $3 == base } on && /: [0-9]+$/ && !/bytes/ { printf "%s ", $NF }')"
}
for showing in $(seq 30); do
    until_shown yes >/dev/null
    sleep 0.2
    [ "$showing" = 10 ] && read -r rss10 resources10 <<<"$(held)"
    [ "$showing" = 30 ] && read -r rss30 resources30 <<<"$(held)"
    xdotool mousemove_relative 10 0
    until_shown no >/dev/null
done
echo "X11 --idle: resident $rss10 kB at showing 10, $rss30 kB at 30; X resources $resources10/ $resources30"
check "--idle: 30 showings: memory within 5 MB from showing 10 to 30, no X resource more" equals \
    "$((rss30 - rss10 < 5120)) $(paste -d' ' <(tr ' ' '\n' <<<"$resources10") <(tr ' ' '\n' <<<"$resources30") |
        awk 'NF == 2 && $2 > $1 { more = 1 } END { print more + 0 }')" "1 0"
pkill -TERM -f "^$hack --idle"
hack_exit 2 >/dev/null
# The X server gone: our own message, and 1.
exec 6< <(Xvfb -displayfd 7 -screen 0 320x240x24 -nolisten tcp -noreset 7>&1 2>/dev/null)
lost_xvfb=$!
read -r -t 20 lost <&6
DISPLAY=:$lost start_hack "$hack" --idle 60
sleep 1
kill "$lost_xvfb"
check "--idle: the X server lost: exit 1, in its own words" equals \
    "$(hack_exit 3) $(cat "$work/hack.err")" "1 verdanelle: lost the X display \":$lost\""
kill "$idle_bus"
unset DBUS_SESSION_BUS_ADDRESS DBUS_SESSION_BUS_PID
# The entry as root with the user's HOME (sudo -E): the user's, folders too;
# the hack named by its path where PATH does not find it. A user's own keys
# kept; a dotfiles link written through; a system-wide entry turned off for
# the user and on again.
autostart=$work/autostart-home
mkdir -p "$autostart/dotfiles" && chown nobody:nogroup "$autostart"
entry=$autostart/.config/autostart/verdanelle.desktop
in_home() { env HOME="$autostart" XDG_CONFIG_DIRS="$work/xdg" "$@"; }
added=$(in_home "$hack" --add-to-autostart 120)
again=$(in_home "$hack" --add-to-autostart 120)
check "--add-to-autostart: a valid entry that runs the hack --idle 120, once, all the user's" equals \
    "$(grep '^Exec=' "$entry") $(desktop-file-validate "$entry" && echo valid) ${added:0:5} ${again: -16} $(stat -c %U "$autostart/.config" "$(dirname "$entry")" "$entry" | sort -u)" \
    "Exec=$(realpath "$hack") --idle 120 valid Wrote nothing changed. nobody"
sed -i 's/^Exec=.*/Exec=verdanelle --idle 120 --delay 20000/; $a OnlyShowIn=XFCE;' "$entry"
mv "$entry" "$autostart/dotfiles/verdanelle.desktop" && ln -s "$autostart/dotfiles/verdanelle.desktop" "$entry"
said=$(in_home env PATH="$build:$PATH" "$hack" --add-to-autostart 600)
check "the user's own keys and options kept, through the link, and it says so" equals \
    "$(grep -E '^(Exec|OnlyShowIn)=' "$entry" | tr '\n' ' ')$(test -L "$entry" && echo link) $(grep -c 'Only --idle changed' <<<"$said")" \
    "Exec=verdanelle --idle 600 --delay 20000 OnlyShowIn=XFCE; link 1"
in_home "$hack" --remove-from-autostart >/dev/null
check "--remove-from-autostart: gone" test ! -e "$entry"
mkdir -p "$work/xdg/autostart"
PATH=$build:$PATH in_home "$hack" --add-to-autostart >/dev/null && mv "$entry" "$work/xdg/autostart/"
in_home "$hack" --remove-from-autostart >/dev/null
check "a system-wide entry turned off by Hidden=true in the user's" equals "$(grep -c '^Hidden=true$' "$entry")" 1
in_home "$hack" --add-to-autostart 60 >/dev/null
check "and on again" equals "$(grep -c '^Hidden' "$entry") $(grep '^Exec=' "$entry")" "0 Exec=$(realpath "$hack") --idle 60"

# --- Under the real daemon, which runs hacks only for a user who is not root.
# The hack as `cmake --install` puts it.
home=$(mktemp -d)
cmake --install "$build" --prefix "$home/prefix" >/dev/null
hacks=$home/prefix/libexec/xscreensaver
config=$home/prefix/share/xscreensaver/config/verdanelle.xml
check "installed where the daemon's hacks live" cmp -s "$hack" "$hacks/verdanelle"
check "its settings: the command" grep -q '<command arg="--root"/>' "$config"
check "its settings: the speed, by --delay" grep -q 'arg="--delay %"' "$config"
chown -R nobody "$home"
# The daemon finds hacks by name on PATH, with its own folder first.
as_nobody() { runuser -u nobody -- env HOME="$home" DISPLAY="$DISPLAY" PATH="$hacks:$PATH" "$@"; }
list() { awk '/^\*?programs:/ { on = 1 } on { print } on && !/\\$/ { exit }' "$1"; } # as its lines stand
ours='  GL: "Verdanelle"  verdanelle --root  \n'
check "a fresh home: --add-to-xscreensaver says it wrote xscreensaver's list" \
    grep -q "^Wrote $home/.xscreensaver: xscreensaver's own list" <(as_nobody verdanelle --add-to-xscreensaver)
entries=$(list "$home/.xscreensaver" | grep -c '\\n')
check "which xscreensaver reads as its own hacks and Verdanelle last" equals \
    "$(list /etc/X11/app-defaults/XScreenSaver | grep -c '\\n') $(list "$home/.xscreensaver" | tail -n 1)" \
    "$((entries - 1)) $ours"
printf '%s\n' "mode: one" "selected: $((entries - 1))" "lock: False" "splash: False" "fade: False" \
    "unfade: False" "cycle: 0:00:00" "timeout: 1:00:00" >>"$home/.xscreensaver"
in_background later as_nobody verdanelle --idle 60 2>"$work/later.err" # before the daemon
sleep 0.5
as_nobody xscreensaver --no-splash --log "$home/daemon.log" >/dev/null 2>&1 &
daemon_pid=$!
sleep 2
check "--idle, then xscreensaver started: it ends with 1, saying so" equals \
    "$(exit_code later 3) $(grep -c 'xscreensaver started' "$work/later.err")" "1 1"
as_nobody xscreensaver-command -select "$entries" >/dev/null 2>&1
for _ in $(seq 50); do pgrep -u nobody -f '^verdanelle --root' >/dev/null && break; sleep 0.1; done
check "the daemon starts the hack" pgrep -u nobody -f '^verdanelle --root' >/dev/null
rc=$(as_nobody verdanelle --idle 60 2>"$work/err" >/dev/null; echo $?)
check "--idle beside xscreensaver: exit 1, saying so" equals "$rc $(grep -c 'xscreensaver already runs' "$work/err")" "1 1"
sleep 1
import -window root "$work/daemon-early.png"
sleep 2
import -window root "$work/daemon-later.png"
read -r er eg eb <<<"$(region_mean "$work/daemon-early.png" 1024x768+0+0)"
read -r lr lg lb <<<"$(region_mean "$work/daemon-later.png" 1024x768+0+0)"
check "daemon: a stem rises from the middle of the bottom edge" \
    above "$(greenness "$work/daemon-early.png" 8x60+508+700)" 0.05
check "daemon: the fern grows" above "$lg" "$eg"
check "daemon: the colour moves from green toward yellow" \
    above "$(awk -v r="$lr" -v g="$lg" 'BEGIN{print r/g}')" "$(awk -v r="$er" -v g="$eg" 'BEGIN{print r/g}')"
as_nobody xscreensaver-command -deactivate >/dev/null 2>&1
sleep 1
check "deactivating ends the hack within a second" test -z "$(pgrep -u nobody -f '^verdanelle --root')"
as_nobody xscreensaver-command -exit >/dev/null 2>&1
wait "$daemon_pid" 2>/dev/null

# An ~/.xscreensaver that xscreensaver's settings saved (a click on "+" of
# "Blank After" saves it): Verdanelle in and out again, changing nothing else.
rm "$home/.xscreensaver"
as_nobody dbus-launch xscreensaver-settings >/dev/null 2>&1 &
settings() { xdotool search --onlyvisible --name '^XScreenSaver: .* Settings$' 2>/dev/null | head -n 1; }
for _ in $(seq 100); do [ -n "$(settings)" ] && break; sleep 0.1; done
eval "$(xdotool getwindowgeometry --shell "$(settings)")"
xdotool mousemove $((X + 270)) $((Y + HEIGHT - 152)) click 1
for _ in $(seq 50); do [ -s "$home/.xscreensaver" ] && break; sleep 0.1; done
pkill -u nobody -f xscreensaver-settings
cp "$home/.xscreensaver" "$work/saved"
check "xscreensaver's settings saved the file" grep -q '^# Written by xscreensaver-settings' "$work/saved"
as_nobody xscreensaver --no-splash >/dev/null 2>&1 &
daemon_pid=$!
sleep 2
check "--add-to-xscreensaver: added, it says" grep -q '^Added Verdanelle' <(as_nobody verdanelle --add-to-xscreensaver)
check "one line added, at the list's end, nothing else changed" equals \
    "$(diff "$work/saved" "$home/.xscreensaver" | sed 1d)" "> $ours\\"
check "run again: there already, it says" grep -q 'lists Verdanelle already' <(as_nobody verdanelle --add-to-xscreensaver)
removed=$(as_nobody verdanelle --remove-from-xscreensaver)
check "--remove-from-xscreensaver: taken out, it says; the file as saved, byte for byte" \
    equals "${removed:0:4} $(cmp -s "$work/saved" "$home/.xscreensaver" && echo same)" "Took same"
# Root with the user's HOME (sudo -E) keeps the user's 0600 file the user's;
# an entry as xscreensaver's settings rewrite ours (unticked, another speed)
# is taken out too.
chmod 600 "$home/.xscreensaver"
HOME=$home "$hack" --add-to-xscreensaver >/dev/null
check "as root with the user's HOME: still the user's file, 0600" equals "$(stat -c '%U %a' "$home/.xscreensaver")" "nobody 600"
sed -i 's/^  GL: "Verdanelle"  verdanelle --root  /- GL: "Verdanelle"  verdanelle --root --delay 20000 /' "$home/.xscreensaver"
removed=$(HOME=$home "$hack" --remove-from-xscreensaver)
check "the rewritten entry taken out: the file as saved, still the user's" equals \
    "${removed:0:4} $(cmp -s "$work/saved" "$home/.xscreensaver" && echo same) $(stat -c '%U %a' "$home/.xscreensaver")" \
    "Took same nobody 600"
head -n 100 "$work/saved" >"$home/.xscreensaver" # cut within the list
rc=$(as_nobody verdanelle --add-to-xscreensaver 2>"$work/err" >/dev/null; echo $?)
check "a list that does not end: left as it is, exit 1, and why" equals \
    "$rc $(grep -c 'does not end' "$work/err") $(head -n 100 "$work/saved" | cmp -s - "$home/.xscreensaver" && echo same)" \
    "1 1 same"
cp "$work/saved" "$home/.xscreensaver"
as_nobody verdanelle --add-to-xscreensaver >/dev/null
entries=$(list "$home/.xscreensaver" | grep -c '\\n')
sed -i "s/^mode:.*/mode:\t\tone/; s/^selected:.*/selected:\t$((entries - 1))/" "$home/.xscreensaver"
as_nobody xscreensaver-command -select "$entries" >/dev/null 2>&1
for _ in $(seq 50); do pgrep -u nobody -f '^verdanelle --root' >/dev/null && break; sleep 0.1; done
check "the running daemon takes the changed list: it starts Verdanelle" pgrep -u nobody -f '^verdanelle --root' >/dev/null
as_nobody xscreensaver-command -deactivate >/dev/null 2>&1
sleep 1
as_nobody dbus-launch xscreensaver-settings >/dev/null 2>&1 &
for _ in $(seq 100); do pgrep -u nobody -f 'verdanelle --root --window-id' >/dev/null && break; sleep 0.1; done
sleep 2
import -window root "$work/settings.png"
eval "$(xwininfo -name 'XScreenSaver Settings Preview' | awk -F: '/Absolute upper-left X/ { print "X=" $2 }
    /Absolute upper-left Y/ { print "Y=" $2 } /Width/ { print "W=" $2 } /Height/ { print "H=" $2 }' | tr -d ' ')"
pane=${W}x$H+$X+$Y
echo "settings: the preview pane is $pane"
check "settings: its preview pane shows the fern" above "$(greenness "$work/settings.png" "$pane")" 0.002
pkill -u nobody -f xscreensaver-settings
as_nobody xscreensaver-command -exit >/dev/null 2>&1
wait "$daemon_pid" 2>/dev/null
pkill -u nobody -x dbus-daemon # the settings' session buses

# --- The Debian package, built the Debian way (with the native tests): what
# `cmake --install` puts and what debhelper adds, clean to Debian's tools.
scripts=$here/../../scripts
arch=$(dpkg --print-architecture)
"$scripts/build-deb.sh" "$work/deb" >"$work/deb.log" 2>&1
deb=$(ls "$work"/deb/verdanelle_*_"$arch".deb)
contents() { dpkg-deb -c "$1" | awk '$6 !~ /\/$/ { print substr($6, 2) }' | sort; }
files=$(contents "$deb")
check "the package holds what cmake --install puts, its copyright, changelog and lintian's notes" \
    equals "$(tr '\n' ' ' <<<"$files")" "$( (cd "$home/prefix" && find . ! -type d | sed 's|^\.|/usr|'
        printf '/usr/share/%s\n' doc/verdanelle/changelog.Debian.gz doc/verdanelle/copyright \
            lintian/overrides/verdanelle) | sort | tr '\n' ' ')"
check "its dependencies come from the hack's libraries" equals \
    "$(dpkg-deb -f "$deb" Depends | grep -oE 'lib(egl1|gl1|systemd0|wayland-client0|wayland-cursor0|wayland-egl1|x11-6|xkbcommon0|xrandr2|xss1)\b' | sort | tr '\n' ' ')" \
    "libegl1 libgl1 libsystemd0 libwayland-client0 libwayland-cursor0 libwayland-egl1 libx11-6 libxkbcommon0 libxrandr2 libxss1 "
pedantic() { lintian --pedantic -I "$1" 2>/dev/null | grep -E '^[EW]:|hardening-no-'; }
check "lintian --pedantic: no error, no warning, no hardening tag" equals "$(pedantic "$deb")" ""
check "its desktop entry is valid" equals "$(desktop-file-validate --no-hints "$home/prefix/share/applications/screensavers/verdanelle.desktop")" ""
check "its manual page renders without a warning" \
    equals "$(man --warnings -l "$home/prefix/share/man/man6/verdanelle.6x.gz" 2>&1 >/dev/null)" ""

# --- arm64, cross-built: the package has the same files and dependencies,
# its hack draws under qemu, and fern-trace's calls are this machine's, byte
# for byte.
arm64_ready() { # on amd64, with what setup.sh installs for arm64
    [ "$arch" = amd64 ] && command -v qemu-aarch64-static >/dev/null &&
        command -v aarch64-linux-gnu-g++ >/dev/null &&
        [ "$(dpkg-query -W -f='${Status}\n' libgl1-mesa-dri:arm64 libx11-dev:arm64 libwayland-dev:arm64 \
            libegl-dev:arm64 libegl-mesa0:arm64 libxss-dev:arm64 libxrandr-dev:arm64 libxkbcommon-dev:arm64 \
            libsystemd-dev:arm64 2>/dev/null | grep -cx 'install ok installed')" = 9 ]
}
if arm64_ready; then
    "$scripts/build-deb.sh" "$work/deb" arm64 >>"$work/deb.log" 2>&1
    arm64=$(ls "$work"/deb/verdanelle_*_arm64.deb)
    check "arm64: the same files" equals "$(contents "$arm64")" "$files"
    check "arm64: the same dependencies" equals "$(dpkg-deb -f "$arm64" Depends)" "$(dpkg-deb -f "$deb" Depends)"
    check "arm64: lintian --pedantic: no error, no warning, no hardening tag" equals "$(pedantic "$arm64")" ""
    dpkg-deb -x "$arm64" "$work/arm64"
    in_background arm64 qemu-aarch64-static "$work/arm64/usr/libexec/xscreensaver/verdanelle" --root
    for _ in $(seq 30); do
        sleep 1
        import -window root "$work/arm64.png"
        above "$(greenness "$work/arm64.png" 8x60+508+700)" 0.05 && break
    done
    check "arm64: under qemu its hack draws the stem" above "$(greenness "$work/arm64.png" 8x60+508+700)" 0.05
    pkill -TERM -f "qemu-aarch64-static $work/arm64/"
    check "arm64: SIGTERM ends it with 0" equals "$(exit_code arm64 10)" 0
    cmake -S "$here/../.." -B "$work/arm64-build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$here/../../cmake/aarch64-linux-gnu.cmake" >/dev/null &&
        cmake --build "$work/arm64-build" --target fern-trace >/dev/null
    for ticks in "640 480 0 130" "333 777 0 140" "1920 1080 140 148"; do
        check "arm64: fern-trace $ticks prints this machine's calls" \
            cmp <(qemu-aarch64-static "$work/arm64-build/fern-trace" $ticks) <("$fern_trace" $ticks)
    done
else
    echo "SKIPPED: arm64: not amd64, or no arm64 cross compiler, qemu or libraries (scripts/setup.sh installs them)"
fi

# --- Wayland: Sway headless as nobody (it refuses root), its swayidle running
# the installed hack full screen after a second of idleness. A headless seat
# has no devices: wtype types through a virtual keyboard, given a second to
# reach the hack, and wayvnc gives a virtual pointer to a small VNC client,
# which rests it at 200,300 before the hack starts (Sway 1.10 may show
# the hack the pointer only at its first movement).
wl=$home/wayland
mkdir -m 700 "$wl"
printf '#!/bin/sh\nverdanelle --fullscreen 2>>%s/hack.err\necho "$? $(date +%%s%%N)" >>%s/ended\n' "$wl" "$wl" >"$wl/saver"
chmod +x "$wl/saver"
printf '%s\n' 'output HEADLESS-1 resolution 1280x800' "exec swayidle -w timeout 1 $wl/saver" >"$wl/config"
chown -R nobody:nogroup "$wl"
socket=""
as_wayland() { (cd "$wl" && setpriv --reuid=nobody --regid=nogroup --clear-groups env -i HOME="$home" VERDANELLE_MARK="$VERDANELLE_MARK" \
    XDG_RUNTIME_DIR="$wl" PATH="$hacks:/usr/bin:/bin" ${socket:+WAYLAND_DISPLAY=$socket} "$@"); }
as_wayland env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$wl/config" >"$work/sway.log" 2>&1 &
for _ in $(seq 50); do socket=$(cd "$wl" && ls wayland-? 2>/dev/null); [ -n "$socket" ] && break; sleep 0.1; done
ask_sway() { as_wayland swaymsg -s "$(ls "$wl"/sway-ipc.*)" "$@"; }
shown() { ask_sway -t get_tree | grep -q '"app_id": "verdanelle"'; }
ended() { cat "$wl/ended" 2>/dev/null | wc -l; }
port=$((5900 + display))
as_wayland wayvnc 127.0.0.1 "$port" >"$work/wayvnc.log" 2>&1 &
exec 5> >(python3 "$here/rfb_pointer.py" "$port")
echo "200 300" >&5
for ending in key movement button workspace close; do
    for _ in $(seq 100); do shown && break; sleep 0.1; done
    sleep 0.5 # shown, and then the pointer is on it
    before=$(ended)
    case $ending in
        key)
            check "Wayland: swayidle starts it after a second of idleness" shown
            sleep 2
            as_wayland grim -c "$wl/shot.png" && cp "$wl/shot.png" "$work/wayland.png" # with the cursor
            check "Wayland: the screenshot is the whole 1280 x 800 output" equals "$(identify -format %wx%h "$work/wayland.png")" 1280x800
            check "Wayland: a stem rises from the middle of its bottom edge" above "$(greenness "$work/wayland.png" 8x60+636+732)" 0.05
            check "Wayland: full screen, no title bar, no cursor: the top rows, a bottom corner and under the pointer black" \
                equals "$(for r in 1280x30+0+0 200x200+0+600 20x20+200+300; do region_mean "$work/wayland.png" "$r"; echo -n ' '; done)" \
                "0 0 0 0 0 0 0 0 0 "
            sent=$(($(date +%s%N) + 1000000000))
            as_wayland wtype -s 1000 -k space ;;
        movement)
            echo "202 302" >&5
            sleep 0.5
            check "Wayland: 4 pixels of pointer movement leave it running" equals "$(ended)" "$before"
            sent=$(date +%s%N)
            echo "205 305" >&5 ;; # more than 4 pixels from wherever the hack first saw it
        button)
            sent=$(date +%s%N)
            printf '205 305 1\n205 305 0\n' >&5 ;;
        close) # as the compositor closes a window: Sway's kill
            sent=$(date +%s%N)
            ask_sway '[app_id=verdanelle] kill' >/dev/null ;;
        workspace) # switched away from, as a user's key binding does
            sent=$(date +%s%N)
            ask_sway workspace 2 >/dev/null ;;
    esac
    for _ in $(seq 200); do [ "$(ended)" -gt "$before" ] && break; sleep 0.01; done
    rc=running at=$sent
    [ "$(ended)" -gt "$before" ] && read -r rc at < <(tail -n 1 "$wl/ended")
    echo "Wayland: $ending, then $(((at - sent) / 1000000)) ms to the hack's end"
    check "Wayland: $ending ends it with 0 within a second" equals "$rc $((at - sent < 1000000000))" "0 1"
    [ "$ending" != workspace ] || echo "205 306" >&5 # input, for swayidle's next idle period
done
exec 5>&-
pkill -u nobody -x swayidle
pkill -u nobody -x wayvnc # its pointer would bring its own window a cursor
pkill -u nobody -f '^verdanelle --fullscreen'
rc=$(as_wayland verdanelle --root 2>"$work/err" >/dev/null; echo $?)
check "Wayland: --root refuses with 2, and points to --fullscreen" equals "$rc $(grep -c -- 'verdanelle --fullscreen' "$work/err")" "2 1"
in_background wayland as_wayland apitrace trace --api egl -o "$wl/wayland.trace" "$hacks/verdanelle" --fullscreen
sleep 3
pkill -TERM -f "^$hacks/verdanelle --fullscreen"
check "Wayland: SIGTERM ends it with 0" equals "$(exit_code wayland 5)" 0
traced_calls "$wl/wayland.trace" 30 '^glBlitFramebuffer' >"$work/wayland.calls"
expected_calls 1280 800 30 >"$work/wayland.expected"
check "Wayland: the first 30 ticks draw exactly the 1280 x 800 fern" \
    same_calls "$work/wayland.calls" "$work/wayland.expected"
# Its own window: 8 bits a colour in its buffers (XRGB8888 is 1); hidden on
# another workspace it draws nothing.
in_background wayland as_wayland env WAYLAND_DEBUG=client verdanelle 2>"$wl/debug"
sleep 1
ask_sway workspace 9 >/dev/null
before=$(cpu "$(pgrep -u nobody -x verdanelle)")
sleep 2
hidden=$(($(cpu "$(pgrep -u nobody -x verdanelle)") - before))
ask_sway workspace back_and_forth >/dev/null
sleep 1
check "Wayland: hidden, $hidden clock ticks of CPU in 2 s; shown again, it goes on" equals \
    "$((hidden < 5)) $(($(cpu "$(pgrep -u nobody -x verdanelle)") - before > 5))" "1 1"
check "Wayland: its buffers are XRGB8888" equals \
    "$(grep -o 'create_buffer(.*)' "$wl/debug" | sed 's/.*, //' | sort -u | tr '\n' ' ')" "1) "
as_wayland wtype -s 1000 -k space
after_space=$(exit_code wayland 0)
as_wayland wtype -s 1000 -k Escape
check "Wayland: its own window outlives a space, and Escape ends it with 0" equals "$after_space $(exit_code wayland 2)" "running 0"
# Full screen, a key still held from before it started (the Enter that ran
# it) leaves it running; a keyboard that appears with a key held ends it.
as_wayland wtype -P Return -s 2000 &
sleep 0.5
in_background wayland as_wayland verdanelle --fullscreen
sleep 1
held=$(exit_code wayland 0)
sleep 1 # that keyboard gone
as_wayland wtype -P space -s 500
check "Wayland: a key held as it starts leaves it running; a keyboard that comes with a key ends it with 0" \
    equals "$held $(exit_code wayland 2)" "running 0"
if [ -d "$work/arm64" ]; then
    cp -a "$work/arm64" "$wl/" && chown -R nobody:nogroup "$wl/arm64"
    in_background arm64 as_wayland qemu-aarch64-static "$wl/arm64/usr/libexec/xscreensaver/verdanelle" --fullscreen
    for _ in $(seq 30); do
        sleep 1
        as_wayland grim "$wl/arm64.png" && above "$(greenness "$wl/arm64.png" 8x60+636+732)" 0.05 && break
    done
    check "Wayland: under qemu the arm64 hack draws the stem" above "$(greenness "$wl/arm64.png" 8x60+636+732)" 0.05
    pkill -TERM -f "qemu-aarch64-static $wl/arm64/"
    check "Wayland: arm64: SIGTERM ends it with 0" equals "$(exit_code arm64 10)" 0
fi

# Scale 2: the output's own 1280 x 800 pixels, the stem one of them wide.
# Scale 1.5, where the compositor offers fractional scales (Sway 1.10 does,
# 1.7 not; KWin 5.27 below): the output's pixels through a viewport.
fractional() { # fractional DEBUG_LOG WIDTH HEIGHT: y for each of the three
    for said in 'preferred_scale\(180\)' "set_destination\\($2, $3\\)" \
        "create_(buffer|immed)\\(.*, $(($2 * 3 / 2)), $(($3 * 3 / 2)),"; do
        grep -qE "$said" "$1" && echo -n y
    done
}
# The scale changed while it shows; its own window takes the scale of the
# output it is on.
in_background wayland as_wayland env WAYLAND_DEBUG=client verdanelle --fullscreen 2>"$wl/debug"
sleep 1
ask_sway output HEADLESS-1 scale 2 >/dev/null
sleep 2
as_wayland grim "$wl/scale2.png"
check "Wayland at scale 2: the stem one pixel wide" equals "$(convert "$wl/scale2.png" \
    -crop 80x1+600+795 +repage -colorspace gray -threshold 5% -format '%[fx:mean*w]' info:)" 1
pkill -TERM -u nobody -f '^verdanelle --fullscreen'
exit_code wayland 2 >/dev/null
in_background own as_wayland env WAYLAND_DEBUG=client verdanelle 2>"$wl/own.debug"
sleep 1
pkill -TERM -u nobody -x verdanelle
read -r w h < <(grep -oE 'xdg_toplevel[@#][0-9]+\.configure\([1-9][0-9]*, [0-9]+' "$wl/own.debug" | tail -n 1 | sed 's/.*(//; s/,//')
check "Wayland at scale 2: its own window ($w x $h) at buffer scale 2, with twice as many pixels" equals \
    "$(grep -c 'set_buffer_scale(2)' "$wl/own.debug" | sed 's/^[1-9][0-9]*$/scaled/') $(grep -qE "create_buffer\(.*, $((w * 2)), $((h * 2))," "$wl/own.debug" && echo sized) $(exit_code own 2)" "scaled sized 0"
if grep -q 'global(.*"wp_fractional_scale_manager_v1"' "$wl/debug"; then
    ask_sway output HEADLESS-1 resolution 1920x1200 scale 1.5 >/dev/null
    in_background wayland as_wayland env WAYLAND_DEBUG=client verdanelle --fullscreen 2>"$wl/debug"
    sleep 2
    pkill -TERM -u nobody -f '^verdanelle --fullscreen'
    exit_code wayland 2 >/dev/null
    check "Wayland at scale 1.5: 1920 x 1200 pixels through a viewport of 1280 x 800" equals "$(fractional "$wl/debug" 1280 800)" yyy
    ask_sway output HEADLESS-1 resolution 1280x800 >/dev/null
else
    echo "Wayland: $(sway --version) offers no fractional scale: no check at 1.5 on it"
fi
ask_sway output HEADLESS-1 scale 1 >/dev/null

# --idle on Sway (its idle protocol): shown after the period, a key hides it
# with the process alive, shown again; a window that inhibits idleness keeps
# it away until the window goes.
wl_until() { # wl_until yes|no: waits up to 5 s for the fern shown, or gone; the ms it took
    local from=$(date +%s%N)
    for _ in $(seq 250); do if shown; then [ "$1" = yes ] && break; else [ "$1" = no ] && break; fi; sleep 0.02; done
    echo $((($(date +%s%N) - from) / 1000000))
}
in_background idle as_wayland verdanelle --idle 2
echo "Wayland --idle: shown $(wl_until yes) ms after it started, with 2 s to wait"
sleep 1
as_wayland grim "$wl/idle.png"
check "Wayland --idle: after the idle period, the stem full screen" above "$(greenness "$wl/idle.png" 8x60+636+732)" 0.05
as_wayland wtype -s 1000 -k space &
sleep 1
echo "Wayland --idle: hidden $(wl_until no) ms after the key"
check "Wayland --idle: a key hides it, and it goes on waiting" equals "$(shown && echo shown) $(exit_code idle 0)" " running"
wl_until yes >/dev/null
check "Wayland --idle: shown again after the next idle period" shown
as_wayland weston-flower >/dev/null 2>&1 &
sleep 1 # another program's window; the key then ends the showing, or is just input
as_wayland wtype -s 1000 -k space
ask_sway '[app_id="flower"] inhibit_idle open' >/dev/null
sleep 3
check "Wayland --idle: a window that inhibits idleness keeps it away" equals "$(shown && echo shown)" ""
pkill -u nobody -x weston-flower
echo "Wayland --idle: shown $(wl_until yes) ms after that window went"
check "Wayland --idle: shown once the window is gone" shown
pkill -TERM -u nobody -f '^verdanelle --idle'
check "Wayland --idle: SIGTERM ends it with 0" equals "$(exit_code idle 2)" 0
# One a display; then 30 showings, each ended by the pointer: memory held.
as_wayland wayvnc 127.0.0.1 "$port" >>"$work/wayvnc.log" 2>&1 &
exec 5> >(python3 "$here/rfb_pointer.py" "$port")
echo "200 300" >&5
in_background idle as_wayland verdanelle --idle 1
sleep 0.5
rc=$(as_wayland verdanelle --idle 1 2>"$work/err" >/dev/null; echo $?)
check "Wayland --idle: a second one exits 1 at once, naming the first" equals \
    "$rc $(grep -c 'already runs for this display (process [0-9]' "$work/err")" "1 1"
resident() { awk '/^VmRSS/ { print $2 }' "/proc/$(pgrep -u nobody -f '^verdanelle --idle 1')/status"; }
for showing in $(seq 30); do
    wl_until yes >/dev/null
    sleep 0.3
    [ "$showing" = 10 ] && rss10=$(resident)
    [ "$showing" = 30 ] && rss30=$(resident)
    echo "$((200 + showing % 2 * 10)) 300" >&5
    wl_until no >/dev/null
done
echo "Wayland --idle: resident $rss10 kB at showing 10, $rss30 kB at 30"
check "Wayland --idle: 30 showings: memory within 5 MB from showing 10 to 30" test $((rss30 - rss10)) -lt 5120
pkill -TERM -u nobody -f '^verdanelle --idle'
exit_code idle 2 >/dev/null
exec 5>&-
pkill -u nobody -x wayvnc
pkill -u nobody -x sway

# --idle on KWin (ext-idle-notify-v1, at scale 1.5) and Mutter (GNOME's idle
# monitor on the session bus), headless, each with a session bus of its own:
# after a second of idleness a surface of the output's size, seen in WAYLAND_DEBUG; on
# Mutter a key through its remote desktop hides it until the next. Weston
# tells no idleness: exit 1, saying so. KWin's own binary carries a file
# capability that sandboxes refuse; a copy runs.
cp /usr/bin/kwin_wayland "$helper" "$wl/"
cat >"$wl/compositor" <<'SCRIPT'
#!/bin/bash
# compositor NAME SECONDS [ARGS]: NAME headless, verdanelle --idle 1 on it for SECONDS,
# then SIGTERM; prints the hack's exit code. On Mutter a Shift just before
# the hack and a space 3 s later.
cd "$(dirname "$0")"
unset WAYLAND_DISPLAY
case $1 in
    kwin) run=(./kwin_wayland --virtual --width 1280 --height 720 "${@:3}" --socket c-kwin) ;;
    mutter) run=(mutter --headless --wayland --no-x11 --virtual-monitor 1280x720 --wayland-display=c-mutter) ;;
    weston) run=(weston --backend=headless-backend.so --width=1280 --height=720 --socket=c-weston) ;;
esac
"${run[@]}" >"$1.log" 2>&1 & # its own process, not a subshell's, for the kill below
compositor=$!
for _ in $(seq 100); do [ -S "c-$1" ] && break; sleep 0.1; done
sleep 1
[ "$1" != mutter ] || { ./x11-helper mutter-key 3 >keys.debug & sleep 0.3; }
WAYLAND_DISPLAY=c-$1 WAYLAND_DEBUG=client timeout 30 verdanelle --idle 1 2>"$1.debug" &
hack=$!
sleep "$2"
kill -TERM "$hack" 2>/dev/null
wait "$hack"
echo $?
kill "$compositor"
wait "$compositor" 2>/dev/null
SCRIPT
chmod +x "$wl/compositor"
chown nobody:nogroup "$wl/compositor" "$wl/kwin_wayland" "$wl/x11-helper"
stamp() { sed -n "s/^\[ *\([0-9.]*\)\] $2\$/\1/p" "$1" 2>/dev/null; } # stamp FILE WHAT
first_frame() { # first_frame LOG IDLE_FROM: the ms from a second after it to the first buffer
    awk -F'[][]' -v from="$2" 'NR == 1 && !from { from = $2 }
        /wl_surface[@#][0-9]+\.attach\(wl_buffer/ { printf "%d", $2 - from - 1000; exit }' "$1"
}
# KWin 6's virtual output takes --scale as a size, at scale 1: scaled on 5 only.
kwin_scale=()
kwin_version=$(dpkg-query -W -f='${Version}' kwin-wayland 2>/dev/null)
[[ ! "$kwin_version" =~ ^([0-9]+:)?5\. ]] || kwin_scale=(--scale 1.5)
for compositor in kwin mutter; do
    extra=()
    [ "$compositor" = mutter ] || extra=("${kwin_scale[@]}")
    rc=$(as_wayland dbus-run-session -- "$wl/compositor" "$compositor" 8 "${extra[@]}" 2>/dev/null | tail -n 1)
    echo "$compositor --idle: first frame $(first_frame "$wl/$compositor.debug" "$(stamp "$wl/keys.debug" shift)") ms after the idle mark"
    check "$compositor --idle: a surface of the output's size drawn, SIGTERM ends it with 0" equals \
        "$(grep -c 'xdg_toplevel[@#][0-9]*\.configure(1280, 720' "$wl/$compositor.debug" | sed 's/^[1-9][0-9]*$/configured/') $(grep -qm1 'attach(wl_buffer' "$wl/$compositor.debug" && echo drawn) $rc" \
        "configured drawn 0"
done
if [ ${#kwin_scale[@]} -gt 0 ]; then
    check "kwin at scale 1.5: 1920 x 1080 pixels through a viewport of 1280 x 720" equals "$(fractional "$wl/kwin.debug" 1280 720)" yyy
else
    echo "kwin $kwin_version scales no virtual output: no fractional check on it"
fi
# The space is the only input there then: a window gone, then a new one drawn.
awk -F'[][]' -v key="$(stamp "$wl/keys.debug" space)" '/xdg_toplevel[@#][0-9]+\.destroy\(/ && !gone { gone = $2 }
    gone && /attach\(wl_buffer/ { again = 1 }
    END { printf "mutter --idle: hidden %d ms after a space typed through its remote desktop\n", gone - key
          exit !(gone && again) }' "$wl/mutter.debug"
check "mutter --idle: a key hides it, and after another second it shows again" test $? = 0
rc=$(as_wayland dbus-run-session -- "$wl/compositor" weston 2 2>/dev/null | tail -n 1)
check "weston --idle: exit 1, saying the desktop tells no idleness" equals \
    "$rc $(grep -c 'tells no program when the session is idle' "$wl/weston.debug")" "1 1"
pkill -u nobody -x mutter
pkill -u nobody -x weston

# --- MATE's screen saver, which finds savers only in the system's folder: the
# package installed, a session bus and the daemon's settings of the test's own.
if dpkg-query -W -f='${Status}' verdanelle 2>/dev/null | grep -q 'ok installed'; then
    echo "SKIPPED: MATE's screen saver: verdanelle is installed here, and this test would remove it"
    finish
    exit
fi
installed=1
apt_get install -y -q --no-install-recommends "$deb" >"$work/apt.log" 2>&1
check "apt-get installs the package" test -x /usr/libexec/xscreensaver/verdanelle
export HOME=$home/mate GSETTINGS_BACKEND=keyfile
mkdir -p "$HOME"
eval "$(dbus-launch --sh-syntax)"
gsettings set org.mate.screensaver mode single
gsettings set org.mate.screensaver themes "['screensavers-verdanelle']"
gsettings set org.mate.screensaver lock-enabled false
mate-screensaver --no-daemon >/dev/null 2>&1 &
mate_pid=$!
sleep 2
mate-screensaver-command --activate >/dev/null 2>&1
saver='^/usr/libexec/xscreensaver/verdanelle --root$'
for _ in $(seq 50); do pgrep -f "$saver" >/dev/null && break; sleep 0.1; done
check "MATE starts it on its own window" grep -qz '^XSCREENSAVER_WINDOW=' "/proc/$(pgrep -f "$saver")/environ"
sleep 2
import -window root "$work/mate.png"
check "MATE: a stem rises from the middle of the bottom edge" above "$(greenness "$work/mate.png" 8x60+508+700)" 0.05
sent=$(date +%s%N)
mate-screensaver-command --deactivate >/dev/null 2>&1
for _ in $(seq 100); do pgrep -f "$saver" >/dev/null || break; sleep 0.01; done
took=$((($(date +%s%N) - sent) / 1000000))
echo "MATE: --deactivate, then $took ms to the hack's end"
check "MATE: deactivating ends it within a second" test "$took" -lt 1000
apt_get remove -y -q verdanelle >/dev/null 2>&1 && installed=""
check "apt-get remove leaves none of its files" equals "$(for f in $files; do [ ! -e "$f" ] || echo "$f"; done)" ""
finish
