#!/bin/bash
# The real installer.exe under Wine: what its box says, what lands in the
# system directory, and how the box ends.
source "$(dirname "$0")/lib.sh" "$1" installer
target=$system32/Verdanelle.scr
winTarget='C:\windows\system32\Verdanelle.scr'

# run_installer FOLDER ENDING: prints the probe's view, then ends the box.
# $installer, when set, is the program run instead of the build's.
run_installer() {
    local folder=$1 ending=$2 view rc
    (cd "$folder" && exec timeout 60 wine "${installer:-$build/installer.exe}") &
    local pid=$!
    local action=none
    case $ending in close | command) action=$ending ;; esac
    view=$(wine "$build/dialog_probe.exe" Install "$action")
    case $ending in
        enter) focus_window '^Install$' && xdotool key Return ;;
        escape) focus_window '^Install$' && xdotool key Escape ;;
        click) xdotool mousemove $(field item1.centre "$view") click 1 ;;
    esac
    wait "$pid"
    rc=$?
    printf '%s\nexit=%s\n' "$view" "$rc"
}

source_dir=$work/with-source
mkdir -p "$source_dir" "$work/empty"
head -c 70000 /dev/urandom >"$source_dir/Verdanelle.scr"
[ -f "$build/Verdanelle.scr" ] && cp "$build/Verdanelle.scr" "$source_dir/Verdanelle.scr"
echo "an older copy" >"$target"

view=$(run_installer "$source_dir" enter)
check "copied: text" equals "$(field item1000 "$view")" "Screen saver successfully installed into $winTarget"
check "copied: button keeps Ok" equals "$(field item1 "$view")" "Ok"
check "copied: button enabled" equals "$(field item1.enabled "$view")" 1
check "copied: the older copy replaced byte for byte" cmp -s "$source_dir/Verdanelle.scr" "$target"
check "copied: Enter ends it with 0" equals "$(field exit "$view")" 0

rm -f "$target"
view=$(run_installer "$work/empty" escape)
check "no source: text" equals "$(field item1000 "$view")" "Error: Cannot find source file Verdanelle.scr"
check "no source: button" equals "$(field item1 "$view")" "Close"
check "no source: button enabled" equals "$(field item1.enabled "$view")" 1
check "no source: nothing written" test ! -e "$target"
check "no source: Escape ends it with 0" equals "$(field exit "$view")" 0

# Wine running as root writes over read-only files, so the target that
# cannot be written is a folder of that name.
rm -f "$target"
mkdir "$target"
echo "keep me" >"$target/inside"
view=$(run_installer "$source_dir" click)
check "unwritable target: text" equals "$(field item1000 "$view")" "Error: Unable to instal screensaver to $winTarget"
check "unwritable target: button" equals "$(field item1 "$view")" "Close"
check "unwritable target: button enabled" equals "$(field item1.enabled "$view")" 1
check "unwritable target: left as it was" equals "$(cat "$target/inside")" "keep me"
check "unwritable target: a click ends it with 0" equals "$(field exit "$view")" 0
rm -rf "$target"

view=$(run_installer "$source_dir" close)
check "the caption's close ends it with 0" equals "$(field exit "$view")" 0
view=$(run_installer "$source_dir" command)
check "any command ends it with 0" equals "$(field exit "$view")" 0
check "the box has a system menu" equals "$(field sysmenu "$view")" 1
check "the box has no owner" equals "$(field owner "$view")" 0

# Elevated, it must load no DLL from its own folder (usually Downloads): before
# its box exists it restricts the DLL search to the system directory.
relay_only 'KERNEL32.SetDefaultDllDirectories;user32.DialogBoxParamA'
view=$(WINEDEBUG=+relay run_installer "$source_dir" enter 2>"$work/relay.txt")
check "the DLL search restricted to the system directory before the box" equals \
    "$(relayed "$work/relay.txt")" \
    "$(printf '%s\n' 'SetDefaultDllDirectories(00000800) = 00000001' 'DialogBoxParamA(00000000) = 00000001')"
check "restricted, it still installs" equals "$(field item1000 "$view")" "Screen saver successfully installed into $winTarget"
# Copies of a dialog's DLLs saved beside it are passed over. (Not version.dll:
# Wine's own user32 takes that from there as the process starts, before any
# code of the installer's runs; Windows' user32 does not.)
downloads=$work/Downloads
mkdir -p "$downloads"
cp "$build/installer.exe" "$source_dir/Verdanelle.scr" "$downloads/"
for dll in uxtheme dwmapi cryptbase; do cp "$build/standins/mpr/mpr.dll" "$downloads/$dll.dll"; done
installer=$downloads/installer.exe WINEDEBUG=+loaddll run_installer "$downloads" enter >/dev/null 2>"$work/loads.txt"
check "nothing loaded from its own folder but itself" equals \
    "$(grep -o 'Downloads\\\\[A-Za-z0-9_.]*' "$work/loads.txt" | sort -u | tr '\n' ' ')" \
    'Downloads\\installer.exe '
finish
