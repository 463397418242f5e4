#!/bin/bash
# The real Verdanelle.scr under Wine: the full-screen saver, what ends it,
# a second start, the preview, and the switches that are refused.
source "$(dirname "$0")/lib.sh" "$1" saver

# --- Full screen: the fern grows up from the middle of the bottom edge.
xdotool mousemove 700 300
start_saver /s
view=$(probe_saver)
check "/s: one top-most window over the whole screen" \
    equals "$(field rect "$view") $(field topmost "$view") $(field count "$view")" "0 0 1024 768 1 1"
check "/s: the cursor is hidden" equals "$(field cursor "$view")" 0
sleep 1
import -window root "$work/early.png"
sleep 2
import -window root "$work/later.png"
read -r er eg eb <<<"$(region_mean "$work/early.png" 1024x768+0+0)"
read -r lr lg lb <<<"$(region_mean "$work/later.png" 1024x768+0+0)"
stem=$(greenness "$work/early.png" 9x60+508+700)
read -r _ corner _ <<<"$(region_mean "$work/early.png" 200x200+0+0)"
check "/s: a stem rises from the middle of the bottom edge" above "$stem" 0.05
check "/s: nothing in the top-left corner early on" equals "$corner" 0
check "/s: the fern grows" above "$lg" "$eg"
check "/s: drawn without blue" equals "$eb $lb" "0 0"
check "/s: the colour moves from green toward yellow" \
    above "$(awk -v r="$lr" -v g="$lg" 'BEGIN{print r/g}')" "$(awk -v r="$er" -v g="$eg" 'BEGIN{print r/g}')"

# A second full-screen start brings the first forward and ends at once.
second=$(timeout 30 wine "$build/Verdanelle.scr" /s; echo $?)
check "second /s exits 0 at once" equals "$second" 0
check "second /s makes no window" equals "$(field count "$(probe_saver)")" 1

# Movement adds up from where the cursor stood when the window was made.
xdotool mousemove_relative 3 1
check "a move of 4 pixels does not end it" equals "$(saver_exit 2)" running
xdotool mousemove_relative 0 1
check "one pixel more ends it with 0" equals "$(saver_exit 10)" 0

# Keys and each mouse button end it.
for input in "key a" "key F1" "click 1" "click 2" "click 3"; do
    start_saver /s
    probe_saver >/dev/null
    sleep 0.5
    focus_window '^Screen Saver$'
    xdotool $input
    check "$input ends the saver with 0" equals "$(saver_exit 10)" 0
done

# Power: a battery's status notice (0x0A, the line and battery unchanged)
# leaves it running; a suspend (0x04) ends it.
start_saver /s
probe_saver >/dev/null
wine "$build/post_storm.exe" WindowsScreenSaverClass "Screen Saver" 3 0x218 0x0A >/dev/null
check "a power status notice leaves it running" equals "$(saver_exit 2)" running
wine "$build/post_storm.exe" WindowsScreenSaverClass "Screen Saver" 1 0x218 0x04 >/dev/null
check "a suspend notice ends it with 0" equals "$(saver_exit 10)" 0

# The other full-screen tails.
for tail in -s S /S /scr "/s 123" "-/ -s"; do
    start_saver $tail
    check "'$tail' opens the full-screen saver" equals "$(field found "$(probe_saver)")" 1
    focus_window '^Screen Saver$'
    xdotool key space
    check "'$tail' ends on a key with 0" equals "$(saver_exit 10)" 0
done

# --- Refused switches end with -1 and show nothing.
# Given as words, unglobbed: Wine would quote a word with blanks in it.
set -f
for tail in /x "/?" "/p 0" /p "/p 4000000" "/p:$$" /a "/a 12" "- - q"; do
    rc=$(timeout 30 wine "$build/Verdanelle.scr" $tail >/dev/null 2>&1; echo $?)
    check "'$tail' ends with -1" equals "$rc" 255
done
set +f

# --- Preview inside a stand-in for the settings dialog. Wine does not compose
# a child window of another process into its parent's picture, so what the
# preview draws is read from its OpenGL call stream instead of a screenshot.
for letter in p l; do
    rm -f "$work/area" "$work/area.quit"
    # Wine 8 once faulted in its own ntdll starting the stand-in, in one of
    # some twenty runs: a second start, said aloud.
    for attempt in 1 2; do
        (exec timeout 120 wine "$build/preview_host.exe" "$(winepath -w "$work/area")") &
        host_pid=$!
        for _ in $(seq 100); do [ -f "$work/area" ] && break; sleep 0.1; done
        [ -f "$work/area" ] && break
        echo "the stand-in dialog did not start (attempt $attempt)"
        kill "$host_pid" 2>/dev/null
        wait "$host_pid" 2>/dev/null
    done
    read -r area left top right bottom _ _ <"$work/area"
    w=$((right - left)) h=$((bottom - top))
    in_background saver traced "$work/preview-$letter.trace" \
        timeout 120 wine "$build/Verdanelle.scr" "/$letter" "$area" >/dev/null 2>&1
    view=$(wine "$build/window_probe.exe" WindowsScreenSaverClass Preview 15 "$area")
    check "/$letter $area: a preview window fills the area" equals "$(field rect "$view")" "$left $top $right $bottom"
    check "/$letter: no full-screen window" equals "$(field found "$(wine "$build/window_probe.exe" WindowsScreenSaverClass "Screen Saver" 1)")" 0
    sleep 3
    xdotool mousemove $((left + 70)) $((top + 50)) click 1 key a
    check "/$letter: input does not end the preview" equals "$(saver_exit 1)" running
    touch "$work/area.quit"
    check "/$letter: the preview ends with its parent, exit 0" equals "$(saver_exit 10)" 0
    wait "$host_pid"
    traced_calls "$work/preview-$letter.trace" 20 >"$work/preview-$letter.calls"
    expected_calls $w $h 20 >"$work/preview-$letter.expected"
    check "/$letter: the first 20 ticks draw exactly the ${w} x ${h} fern" \
        same_calls "$work/preview-$letter.calls" "$work/preview-$letter.expected"
    check "/$letter: the viewport is the area" \
        grep -q "glViewport(x = 0, y = 0, width = $w, height = $h)\$" <(apitrace dump --color=never "$work/preview-$letter.trace" 2>/dev/null)
done

# --- Full screen declares itself DPI-aware before its window exists, so it
# draws at a scaled display's real pixels; the preview takes its parent's
# awareness for its thread, and the about box declares nothing. Wine takes a
# process as aware unless DpiScalingVer says otherwise, and tells no window's
# awareness across processes: its relay trace shows the saver's own calls
# instead.
wine reg add 'HKCU\Control Panel\Desktop' /v DpiScalingVer /t REG_DWORD /d 0x1000 /f >/dev/null 2>&1
relay_only 'user32.SetProcessDpiAwarenessContext;user32.SetProcessDPIAware;user32.CreateWindowExA;user32.DialogBoxParamA'
WINEDEBUG=+relay start_saver /s 2>"$work/dpi-s.relay"
probe_saver >/dev/null
focus_window '^Screen Saver$'
xdotool key Escape
saver_exit 10 >/dev/null
# Windows 10 1703 on grants per-monitor v2 (so does Wine 10); where it is
# refused, per-monitor is taken.
check "/s: per-monitor awareness (v2, or v1 where v2 is refused), then its window" equals \
    "$(relayed "$work/dpi-s.relay" | sed -e '$s/ = .*//' -e '/(fffffffc) = 00000000$/d' \
        -e 's/(fffffff[cd]) = 00000001$/(per-monitor) = 00000001/')" \
    "$(printf '%s\n' 'SetProcessDpiAwarenessContext(per-monitor) = 00000001' 'CreateWindowExA(00000008)')"
rm -f "$work/area" "$work/area.quit"
(exec timeout 60 wine "$build/preview_host.exe" "$(winepath -w "$work/area")") &
host_pid=$!
for _ in $(seq 100); do [ -f "$work/area" ] && break; sleep 0.1; done
read -r area _ <"$work/area"
relay_only 'user32.SetProcessDpiAwarenessContext;user32.SetProcessDPIAware;user32.GetWindowDpiAwarenessContext;user32.SetThreadDpiAwarenessContext;user32.GetClientRect;user32.CreateWindowExA;user32.DialogBoxParamA'
WINEDEBUG=+relay start_saver /p "$area" 2>"$work/dpi-p.relay"
wine "$build/window_probe.exe" WindowsScreenSaverClass Preview 15 "$area" >/dev/null
touch "$work/area.quit"
saver_exit 10 >/dev/null
wait "$host_pid"
WINEDEBUG=+relay start_saver 2>"$work/dpi-about.relay"
wine "$build/dialog_probe.exe" Verdanelle command >/dev/null
saver_exit 10 >/dev/null
# Wine's own start-up sets its threads' awareness too: the saver's calls are
# those from its look-up on.
check "/p takes its parent's awareness for its thread before measuring; neither it nor the about box declares any" equals \
    "$(relayed "$work/dpi-p.relay" | sed -n '/^GetWindowDpiAwarenessContext/,$p' | cut -d'(' -f1 | uniq | xargs) /$(
        cat "$work/dpi-p.relay" "$work/dpi-about.relay" | relayed /dev/stdin | grep -c '^SetProcessDPIAware\|^SetProcessDpi')" \
    "GetWindowDpiAwarenessContext SetThreadDpiAwarenessContext GetClientRect CreateWindowExA /0"

# --- The full-screen call stream, call for call.
in_background saver traced "$work/full.trace" timeout 120 wine "$build/Verdanelle.scr" /s >/dev/null 2>&1
probe_saver >/dev/null
sleep 3
focus_window '^Screen Saver$'
xdotool key Escape
check "traced /s ends on Escape with 0" equals "$(saver_exit 10)" 0
traced_calls "$work/full.trace" 30 >"$work/full.calls"
expected_calls 1024 768 30 >"$work/full.expected"
check "/s: the first 30 ticks draw exactly the 1024 x 768 fern" same_calls "$work/full.calls" "$work/full.expected"
finish
