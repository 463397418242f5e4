#!/bin/bash
# The real Verdanelle.scr under Wine's Windows 98 emulation with a password
# in force: stand-ins for the platform's PASSWORD.CPL and MPR.DLL answer as a
# test tells them and log what they were asked.
source "$(dirname "$0")/lib.sh" "$1" password
standins=$build/standins
log=$system32/verifier.log

quiet() { "$@" >/dev/null 2>&1; }
family() { # family 98|nt
    if [ "$1" = 98 ]; then
        quiet wine reg add 'HKCU\Software\Wine\AppDefaults\Verdanelle.scr' /v Version /d win98 /f
    else
        quiet wine reg delete 'HKCU\Software\Wine\AppDefaults\Verdanelle.scr' /v Version /f
    fi
}
password() { # password TYPE DATA | password absent
    if [ "$1" = absent ]; then
        quiet wine reg delete 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /f
    else
        quiet wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t "$1" /d "$2" /f
    fi
}
verifier() { # verifier password_cpl|password_noentry|none
    rm -f "$system32/PASSWORD.CPL" "$log" "$system32/verifier.hold"
    [ "$1" = none ] || cp "$standins/$1/PASSWORD.CPL" "$system32/"
}
answer() { echo "$1" >"$system32/verifier.answer"; }
asks() { cat "$log" 2>/dev/null | grep -c "^ask" || true; }
# Every ask starts at least 200 ms after the verification before it ended.
gaps_kept() {
    awk '/^ask/ { if (end != "" && $NF - end < 200) { print "  gap " $NF - end " ms"; bad = 1 } }
         /^end/ { end = $2 } END { exit bad }' "$log"
}
start_gated() {
    xdotool mousemove 700 300
    start_saver /s
    view=$(probe_saver)
    sleep 0.5
    focus_window '^Screen Saver$'
}

family 98
password REG_DWORD 1

# --- A refusing verifier: nothing but the verifier ends the saver.
verifier password_cpl
answer 0
start_gated
xdotool key a
sleep 0.5
check "a key asks the verifier once" equals "$(asks)" 1
check "the verifier is asked with the saver window" \
    equals "$(awk '/^ask/ { print $2, $3, $4; exit }' "$log")" "$(field window "$view") WindowsScreenSaverClass|Screen Saver"
check "a refused key does not end the saver" equals "$(saver_exit 0)" running
for input in "click 1" "click 3" "key Escape" "mousemove_relative 40 40"; do
    before=$(asks)
    xdotool $input
    sleep 0.5
    check "$input asks again" equals "$(asks)" $((before + 1))
    check "$input refused: still running" equals "$(saver_exit 0)" running
done
before=$(asks)
xdotool key --delay 20 a b c d e f g h i j
sleep 0.5
rapid=$(($(asks) - before))
check "ten keys within about 200 ms ask once or twice, not $rapid times" above 3 "$rapid"
check "no ask within 200 ms of the last" gaps_kept
before=$(asks)
xdotool mousemove_relative 3 1
sleep 0.5
check "a move of 4 pixels from the refusal's cursor does not ask" equals "$(asks)" "$before"
xdotool mousemove_relative 0 1
sleep 0.5
check "one pixel more asks" equals "$(asks)" $((before + 1))
check "the saver still runs after $(asks) refusals" equals "$(saver_exit 0)" running
answer 1
xdotool key a
check "the verifier approving ends the saver with 0" equals "$(saver_exit 10)" 0

# --- While the verifier waits, input neither ends the saver nor asks again.
verifier password_cpl
answer 1
touch "$system32/verifier.hold"
start_gated
xdotool key a
sleep 0.5
xdotool key b click 1 mousemove_relative 50 50 key Escape
sleep 1
check "input during the wait: one ask" equals "$(asks)" 1
check "input during the wait: still running" equals "$(saver_exit 0)" running
rm -f "$system32/verifier.hold"
check "the wait ends with approval: exit 0" equals "$(saver_exit 10)" 0
check "one ask in all" equals "$(asks)" 1

# --- A storm of posted close, key, deactivation and power messages.
verifier password_cpl
answer 0
start_gated
storm=$(wine "$build/post_storm.exe" WindowsScreenSaverClass "Screen Saver" 100 | tr -d '\r')
sleep 1
storm_asks=$(asks)
echo "storm: $(field posted "$storm") messages posted, $storm_asks asks, exit: $(saver_exit 0)"
check "the storm was posted" equals "$(field posted "$storm")" 400
check "the storm leaves the saver running" equals "$(saver_exit 0)" running
check "the storm asks at least once" above "$storm_asks" 0
check "the storm keeps 200 ms between asks" gaps_kept
answer 1
xdotool key a
check "after the storm, approval ends the saver with 0" equals "$(saver_exit 10)" 0

# --- No gate: the first input closes without asking.
#   family, value type, value, verifier, asks expected
while read -r fam type data module expected; do
    family "$fam"
    password $type $data
    verifier "$module"
    answer 1
    start_gated
    xdotool key a
    what="win$fam $type $data $module"
    check "$what: the first key ends the saver with 0" equals "$(saver_exit 10)" 0
    check "$what: asks $expected" equals "$(asks)" "$expected"
done <<'TABLE'
98 REG_DWORD 0 password_cpl 0
98 absent - password_cpl 0
98 REG_BINARY 0100000000 password_cpl 0
98 REG_DWORD 1 none 0
98 REG_DWORD 1 password_noentry 0
98 REG_BINARY 0000 password_cpl 0
98 REG_BINARY 01 password_cpl 1
98 REG_SZ 1 password_cpl 1
nt REG_DWORD 1 password_cpl 0
TABLE

# --- The password change, from a copy of the saver beside an MPR stand-in.
app=$work/app
mkdir -p "$app"
cp "$build/Verdanelle.scr" "$app/"
rm -f "$work/area" "$work/area.quit"
(exec timeout 120 wine "$build/preview_host.exe" "$(winepath -w "$work/area")") &
host_pid=$!
for _ in $(seq 100); do [ -f "$work/area" ] && break; sleep 0.1; done
read -r _ _ _ _ _ settings _ <"$work/area"
change() { WINEDLLOVERRIDES="mscoree,mshtml=;mpr=n,b" timeout 30 wine "$app/Verdanelle.scr" "$@" >/dev/null 2>&1; echo $?; }
family 98
check "/a without the MPR stand-in exits 0" equals "$(change /a "$settings")" 0
cp "$standins/mpr/mpr.dll" "$app/"
check "/a $settings exits 0" equals "$(change /a "$settings")" 0
check "/a $settings: the change is asked for with the window" \
    equals "$(cut -d' ' -f1-5 "$app/mpr.log" 2>/dev/null)" "change SCRSAVE $settings 0 0"
rm -f "$app/mpr.log"
check "/a 7 exits 0" equals "$(change /a 7)" 0
check "/a 7 (no window): the parent is the foreground window" \
    awk '{ sub(/\r$/, ""); exit !($1 == "change" && $2 == "SCRSAVE" && $3 == $6 && $4 == 0 && $5 == 0) }' "$app/mpr.log"
family nt
rm -f "$app/mpr.log"
check "/a on the NT family ends with -1" equals "$(change /a "$settings")" 255
check "/a on the NT family asks for no change" test ! -e "$app/mpr.log"
touch "$work/area.quit"
wait "$host_pid"
finish
