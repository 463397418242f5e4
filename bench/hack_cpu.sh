#!/bin/bash
# hack_cpu.sh NATIVE_BUILD_DIR [SECONDS]
#
# The hack's CPU time over the same ticks (SECONDS at its 20 a second) at
# 1280 x 800: with --root on a private Xvfb, full screen on Sway headless,
# and in its own Sway window while another workspace hides it. Sway runs as
# nobody (it refuses root), so run this as root.
set -u
build=$(cd "$1" && pwd)
seconds=${2:-10}
dir=$(mktemp -d)
cp "$build/verdanelle" "$dir/"
cpu() { read -r -a stat <"/proc/$1/stat"; echo $((stat[13] + stat[14])); } # clock ticks
hz=$(getconf CLK_TCK)
report() { awk -v t="$2" -v hz="$hz" -v s="$seconds" -v what="$1" 'BEGIN { printf "%s: %.2f s of CPU in %d s\n", what, t / hz, s }'; }

exec 3< <(Xvfb -displayfd 4 -screen 0 1280x800x24 -nolisten tcp -noreset 4>&1 2>/dev/null)
xvfb=$!
read -r -t 20 display <&3 || { echo "Xvfb did not start"; exit 1; }
DISPLAY=:$display "$dir/verdanelle" --root &
sleep "$seconds"
report "X11 --root" "$(cpu $!)"
kill $! "$xvfb"

mkdir -m 700 "$dir/run"
echo 'output HEADLESS-1 resolution 1280x800' >"$dir/config"
chown -R nobody:nogroup "$dir"
as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups env -i HOME="$dir" \
    XDG_RUNTIME_DIR="$dir/run" PATH=/usr/bin:/bin ${socket:+WAYLAND_DISPLAY=$socket} "$@"; }
socket=""
as_nobody env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$dir/config" >/dev/null 2>&1 &
for _ in $(seq 50); do socket=$(cd "$dir/run" && ls wayland-? 2>/dev/null); [ -n "$socket" ] && break; sleep 0.1; done
sway() { as_nobody swaymsg -s "$(ls "$dir"/run/sway-ipc.*)" "$@" >/dev/null; }
as_nobody "$dir/verdanelle" --fullscreen &
sleep "$seconds"
report "Wayland --fullscreen" "$(cpu "$(pgrep -u nobody -f "^$dir/verdanelle --fullscreen")")"
pkill -u nobody -f "^$dir/verdanelle"
as_nobody "$dir/verdanelle" &
sleep 1
sway workspace 2
pid=$(pgrep -u nobody -f "^$dir/verdanelle$")
before=$(cpu "$pid")
sleep "$seconds"
report "Wayland, its own window hidden" "$(($(cpu "$pid") - before))"
pkill -u nobody -f "^$dir/verdanelle"
pkill -u nobody -x sway
sleep 1
rm -rf "$dir"
