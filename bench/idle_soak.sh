#!/bin/bash
# idle_soak.sh NATIVE_BUILD_DIR [SHOWINGS]
#
# verdanelle --idle 1 through SHOWINGS (200) showings, each ended by the
# pointer: on a private Xvfb (xdotool) and on Sway headless (wayvnc's
# virtual pointer, driven by tests/x11/rfb_pointer.py). At showing 20 and at
# the last it prints the hack's resident memory and open descriptors, and
# on X11 its resources in the server (xrestop, by kind). Sway runs as nobody
# (it refuses root), so run this as root; about 5 minutes a display.
set -u
build=$(cd "$1" && pwd)
showings=${2:-200}
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
cp "$build/verdanelle" "$dir/"
mkdir -m 700 "$dir/run"
printf '%s\n' 'output HEADLESS-1 resolution 1280x800' >"$dir/config"
chown -R nobody:nogroup "$dir"
as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups env -i HOME="$dir" \
    XDG_RUNTIME_DIR="$dir/run" PATH=/usr/bin:/bin ${socket:+WAYLAND_DISPLAY=$socket} "$@"; }
figures() { # PID [X_RESOURCE_BASE]
    local kinds=""
    [ -z "${2:-}" ] || kinds=", X resources $(xrestop -b -m 1 | awk -v base="$2" '/res_base/ { on = $3 == base }
        on && /: [0-9]+$/ && !/bytes/ { sub(/^[ \t]+/, ""); sub(/ *: /, " "); printf "%s, ", $0 }')"
    echo "resident $(awk '/^VmRSS/ { print $2 }' "/proc/$1/status") kB, $(ls "/proc/$1/fd" | wc -l) descriptors${kinds%, }"
}
until_is() { # until_is yes|no COMMAND...: up to 5 s for COMMAND to hold, or not
    local want=$1
    shift
    for _ in $(seq 250); do
        if "$@"; then [ "$want" = yes ] && return; else [ "$want" = no ] && return; fi
        sleep 0.02
    done
}

exec 3< <(Xvfb -displayfd 4 -screen 0 1280x800x24 -nolisten tcp -noreset 4>&1 2>/dev/null)
xvfb=$!
read -r -t 20 display <&3 || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$display
"$dir/verdanelle" --idle 1 &
hack=$!
x_shown() { xdotool search --name '^Verdanelle$' >/dev/null 2>&1; }
for showing in $(seq "$showings"); do
    until_is yes x_shown
    sleep 0.2
    if [ "$showing" = 20 ] || [ "$showing" = "$showings" ]; then
        window=$(xdotool search --name '^Verdanelle$' | head -n 1)
        echo "X11, showing $showing: $(figures "$hack" "$(printf '0x%x' $((window & ~0x1fffff)))")"
    fi
    xdotool mousemove_relative -- $((showing % 2 * 20 - 10)) 0 # to and fro, never at the edge
    until_is no x_shown
done
kill "$hack"
wait "$hack"
kill "$xvfb"

socket=""
as_nobody env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$dir/config" >/dev/null 2>&1 &
for _ in $(seq 50); do socket=$(cd "$dir/run" && ls wayland-? 2>/dev/null); [ -n "$socket" ] && break; sleep 0.1; done
port=$((5900 + display))
as_nobody wayvnc 127.0.0.1 "$port" >/dev/null 2>&1 &
exec 5> >(python3 "$here/../tests/x11/rfb_pointer.py" "$port")
echo "200 300" >&5
as_nobody "$dir/verdanelle" --idle 1 &
sleep 1
hack=$(pgrep -u nobody -f "^$dir/verdanelle --idle")
wl_shown() { as_nobody swaymsg -s "$(ls "$dir"/run/sway-ipc.*)" -t get_tree | grep -q '"app_id": "verdanelle"'; }
for showing in $(seq "$showings"); do
    until_is yes wl_shown
    sleep 0.2
    if [ "$showing" = 20 ] || [ "$showing" = "$showings" ]; then
        echo "Sway, showing $showing: $(figures "$hack")"
    fi
    echo "$((200 + showing % 2 * 10)) 300" >&5
    until_is no wl_shown
done
exec 5>&-
pkill -u nobody -f "^$dir/verdanelle"
sleep 1 # the hack gone before its display
pkill -u nobody -x wayvnc
pkill -u nobody -x sway
sleep 1
rm -rf "$dir"
