#!/bin/bash
# What is released, built twice from copies of this tree at two paths, under
# another umask, time zone and locale, is the same byte for byte; linked
# again with a later SOURCE_DATE_EPOCH, only the programs' link time follows.
#   reproducible_test.sh SOURCE_DIR WORK_DIR
here=$(cd "$(dirname "$0")" && pwd)
source "$here/checks.sh"
work=$2
rm -rf "$work"
early=1700000000 later=1700086400 # a day apart
build() { # build DIR UMASK TZ LOCALE
    mkdir -p "$1/src"
    tar -C "$tree" --exclude=./build --exclude=./dist --exclude=./.git --exclude=node_modules -cf - . |
        tar -C "$1/src" -xf -
    (umask "$2" && cd "$1/src" && TZ=$3 LC_ALL=$4 SOURCE_DATE_EPOCH=$early bash scripts/build-release.sh "$1/out")
}
tree=$1 a=$work/a/out b=$work/b/another/folder/out
build "$work/a" 022 UTC C && build "$work/b/another/folder" 077 Pacific/Chatham C.UTF-8 ||
    check "both release builds" false
released=$(cd "$a" && ls -- *.zip win*/*.scr win*/*.exe web/site/* native/verdanelle)
check "three zips, four programs, eight files of the site and the hack" equals "$(wc -w <<<"$released")" 16
for file in $released; do # cmp names the first byte that differs
    check "$file: the same from another path, umask, time zone and locale" cmp "$a/$file" "$b/$file"
done

rm -f "$b"/win*/*.scr "$b"/win*/*.exe "$b/native/verdanelle" "$b"/web/site/verdanelle.*
for config in win64 win32 web native; do
    SOURCE_DATE_EPOCH=$later cmake --build "$b/$config" >/dev/null || check "$config built again" false
done
header() { od -An -tu4 -j60 -N4 "$1" | tr -d ' '; }
stamp() { od -An -tu4 -j$(($(header "$1") + 8)) -N4 "$1" | tr -d ' '; }
# Where they differ (in hex) beside the link time and checksum, 8 and 88 bytes into the PE header.
elsewhere() { cmp -l "$1" "$2" | awk -v h="$(header "$1")" '{ o = $1 - 1 - h } o < 8 || o > 11 && o < 88 || o > 91 { printf "%x ", $1 - 1 }'; }
for file in win64/Verdanelle.scr win64/installer.exe win32/Verdanelle.scr win32/installer.exe; do
    check "$file: linked at the epoch given" equals "$(stamp "$a/$file") $(stamp "$b/$file")" "$early $later"
    check "$file: only the link time and checksum follow it" equals "$(elsewhere "$a/$file" "$b/$file")" ""
done
for file in native/verdanelle web/site/verdanelle.wasm web/site/verdanelle.js web/site/sw.js; do
    check "$file: the epoch changes no byte" cmp "$a/$file" "$b/$file"
done
finish
