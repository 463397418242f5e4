#!/bin/bash
# scale_cost.sh NATIVE_BUILD_DIR [SECONDS]
#
# What the output's own pixels cost on llvmpipe: full screen on Sway
# headless at 1280 x 800 pixels, at scale 1 and at scale 2 (both now draw
# 1280 x 800), and at 640 x 400 (what scale 2 drew when the compositor
# scaled the picture up); ticks a second (buffers attached, in
# WAYLAND_DEBUG) and CPU per tick, with --delay 0 and at the default 20 a
# second. Then X11: full screen on a 1024 x 768 Xvfb as one monitor and as
# two of 512 x 768, CPU over SECONDS. Sway runs as nobody, so run as root.
set -u
build=$(cd "$1" && pwd)
seconds=${2:-10}
dir=$(mktemp -d)
cp "$build/verdanelle" "$dir/"
mkdir -m 700 "$dir/run"
chown -R nobody:nogroup "$dir"
cpu() { read -r -a stat <"/proc/$1/stat"; echo $((stat[13] + stat[14])); } # clock ticks
hz=$(getconf CLK_TCK)
as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups env -i HOME="$dir" \
    XDG_RUNTIME_DIR="$dir/run" PATH=/usr/bin:/bin ${socket:+WAYLAND_DISPLAY=$socket} "$@"; }

socket=""
echo 'output HEADLESS-1 resolution 1280x800' >"$dir/config"
as_nobody env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$dir/config" >/dev/null 2>&1 &
for _ in $(seq 50); do socket=$(cd "$dir/run" && ls wayland-? 2>/dev/null); [ -n "$socket" ] && break; sleep 0.1; done
sway() { as_nobody swaymsg -s "$(ls "$dir"/run/sway-ipc.*)" "$@" >/dev/null; }
for setting in "1280x800 scale 1" "1280x800 scale 2" "640x400 scale 1"; do
    sway output HEADLESS-1 resolution $setting
    for delay in 0 50000; do
        as_nobody env WAYLAND_DEBUG=client "$dir/verdanelle" --fullscreen --delay "$delay" 2>"$dir/debug" &
        hack=$!
        sleep 1
        pid=$(pgrep -u nobody -f "^$dir/verdanelle")
        before=$(cpu "$pid") frames=$(grep -c 'attach(wl_buffer' "$dir/debug")
        sleep "$seconds"
        used=$(($(cpu "$pid") - before)) frames=$(($(grep -c 'attach(wl_buffer' "$dir/debug") - frames))
        kill "$pid"
        wait "$hack" 2>/dev/null
        awk -v s="$setting" -v d="$delay" -v f="$frames" -v t="$used" -v hz="$hz" -v n="$seconds" 'BEGIN {
            printf "Wayland %s, --delay %d: %.1f ticks a second, %.1f ms of CPU a tick\n", s, d, f / n, f ? t * 1000 / hz / f : 0 }'
    done
done
pkill -u nobody -x sway

exec 3< <(Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp -noreset 4>&1 2>/dev/null)
xvfb=$!
read -r -t 20 display <&3 || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$display
for monitors in "one monitor" "two monitors"; do
    if [ "$monitors" = "two monitors" ]; then
        xrandr --setmonitor LEFT 512/135x768/203+0+0 screen >/dev/null
        xrandr --setmonitor RIGHT 512/135x768/203+512+0 none >/dev/null
    fi
    "$dir/verdanelle" --fullscreen &
    sleep 1
    before=$(cpu $!)
    sleep "$seconds"
    awk -v m="$monitors" -v t="$(($(cpu $!) - before))" -v hz="$hz" -v n="$seconds" 'BEGIN {
        printf "X11 full screen, %s on 1024 x 768: %.2f s of CPU in %d s\n", m, t / hz, n }'
    kill $!
    wait $! 2>/dev/null
done
kill "$xvfb"
rm -rf "$dir"
