#!/bin/bash
# The about box of the real Verdanelle.scr: who owns it, how it ends, and
# what it looks like.
source "$(dirname "$0")/lib.sh" "$1" about

# run_about ENDING TAIL...: prints the probe's view of the box and the exit code.
# The tail is given as words: Wine would quote a word with blanks in it.
run_about() {
    local ending=$1 view action=none
    shift
    rm -f "$work/about.rc"
    (timeout 60 wine "$build/Verdanelle.scr" "$@"; echo $? >"$work/about.rc") &
    case $ending in command | wmclose | close) action=$ending ;; esac
    view=$(wine "$build/dialog_probe.exe" Verdanelle "$action")
    case $ending in
        enter) focus_window '^Verdanelle$' && xdotool key Return ;;
        escape) focus_window '^Verdanelle$' && xdotool key Escape ;;
        click) xdotool mousemove $(field item1.centre "$view") click 1 ;;
    esac
    for _ in $(seq 100); do [ -f "$work/about.rc" ] && break; sleep 0.1; done
    printf '%s\nexit=%s\n' "$view" "$(cat "$work/about.rc" 2>/dev/null || echo running)"
}

view=$(run_about escape)
check "no switch: a box without an owner" equals "$(field found "$view") $(field owner "$view")" "1 0"
check "no system menu, so no close button" equals "$(field sysmenu "$view")" 0
check "Escape ends it with 1" equals "$(field exit "$view")" 1

view=$(run_about enter -- / -/)
check "dashes, slashes and blanks: no owner" equals "$(field found "$view") $(field owner "$view")" "1 0"
check "Enter ends it with 1" equals "$(field exit "$view")" 1

# A stand-in settings window, in the foreground, and another window behind it.
(exec timeout 120 wine "$build/preview_host.exe" "$(winepath -w "$work/windows")") &
for _ in $(seq 100); do [ -f "$work/windows" ] && break; sleep 0.1; done
read -r _ _ _ _ _ main other <"$work/windows"
sleep 0.5

for tail in /c "/c 1234" "/c: 1234" "/c:4000000" "/C"; do
    view=$(run_about wmclose $tail)
    check "'$tail': owned by the foreground window" equals "$(field owner "$view")" "$main"
    check "'$tail': WM_CLOSE ends it with 1" equals "$(field exit "$view")" 1
done
view=$(run_about command /c)
check "any command ends it with 1" equals "$(field exit "$view")" 1
view=$(run_about click "/c:$other")
check "/c:N: owned by window N" equals "$(field owner "$view")" "$other"
check "a click on the button ends it with 1" equals "$(field exit "$view")" 1
touch "$work/windows.quit"
finish
