#!/bin/bash
# idle_wait.sh NATIVE_BUILD_DIR [SECONDS]
#
# The CPU time that verdanelle --idle takes while it waits, over SECONDS (60)
# of an idle session: on a private Xvfb (the server's idle time) and on Sway
# headless (its idle protocol), side by side. Sway runs as nobody (it refuses
# root), so run this as root.
set -u
build=$(cd "$1" && pwd)
seconds=${2:-60}
dir=$(mktemp -d)
cp "$build/verdanelle" "$dir/"
mkdir -m 700 "$dir/run"
echo 'output HEADLESS-1 resolution 1280x800' >"$dir/config"
chown -R nobody:nogroup "$dir"
cpu() { read -r -a stat <"/proc/$1/stat"; echo $((stat[13] + stat[14])); } # clock ticks
as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups env -i HOME="$dir" \
    XDG_RUNTIME_DIR="$dir/run" PATH=/usr/bin:/bin ${socket:+WAYLAND_DISPLAY=$socket} "$@"; }

exec 3< <(Xvfb -displayfd 4 -screen 0 1280x800x24 -nolisten tcp -noreset 4>&1 2>/dev/null)
xvfb=$!
read -r -t 20 display <&3 || { echo "Xvfb did not start"; exit 1; }
DISPLAY=:$display "$dir/verdanelle" --idle 86400 &
x11=$!
socket=""
as_nobody env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$dir/config" >/dev/null 2>&1 &
for _ in $(seq 50); do socket=$(cd "$dir/run" && ls wayland-? 2>/dev/null); [ -n "$socket" ] && break; sleep 0.1; done
as_nobody "$dir/verdanelle" --idle 86400 &
sleep 1
wayland=$(pgrep -u nobody -f "^$dir/verdanelle --idle")
x0=$(cpu "$x11") w0=$(cpu "$wayland")
sleep "$seconds"
hz=$(getconf CLK_TCK)
echo "waiting $seconds s: X11 $(( ($(cpu "$x11") - x0) * 1000 / hz )) ms of CPU, Sway $(( ($(cpu "$wayland") - w0) * 1000 / hz )) ms"
kill "$x11"
pkill -u nobody -f "^$dir/verdanelle"
sleep 1 # the hacks gone before their displays
kill "$xvfb"
pkill -u nobody -x sway
sleep 1
rm -rf "$dir"
