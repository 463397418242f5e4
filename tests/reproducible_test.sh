#!/bin/bash
# What is released, built twice from copies of this tree at two paths, under
# another umask, time zone and locale, comes out the same, byte for byte: the
# Windows programs and zips, the web site and its zip, the hack. Then built
# again with another SOURCE_DATE_EPOCH: the programs' link time follows it,
# and nothing else changes.
#   reproducible_test.sh SOURCE_DIR WORK_DIR
here=$(cd "$(dirname "$0")" && pwd)
source "$here/checks.sh"
source=$1
work=$2
rm -rf "$work"
early=1700000000 later=1700086400 # a day apart

build() { # build DIR UMASK TZ LOCALE EPOCH
    mkdir -p "$1/src"
    tar -C "$source" --exclude=./build --exclude=./dist --exclude=./.git --exclude=node_modules -cf - . |
        tar -C "$1/src" -xf -
    (umask "$2" && cd "$1/src" && TZ=$3 LC_ALL=$4 SOURCE_DATE_EPOCH=$5 bash scripts/build-release.sh "$1/out") ||
        echo "FAIL: the release build in $1"
}
build "$work/a" 022 UTC C $early
build "$work/b/another/folder" 077 Pacific/Chatham C.UTF-8 $early
a=$work/a/out b=$work/b/another/folder/out
released=$(cd "$a" && ls -- *.zip win64/Verdanelle.scr win64/installer.exe win32/Verdanelle.scr \
    win32/installer.exe web/site/* native/verdanelle 2>/dev/null)
check "the release holds three zips, four programs, the site and the hack" equals \
    "$(wc -l <<<"$released")" 16

# The differing bytes' offsets (from 0), with the section of the first.
differences() { # differences FILE_A FILE_B
    cmp -l "$1" "$2" 2>/dev/null | awk 'NR <= 5 { printf "%s%x", (NR > 1 ? " " : ""), $1 - 1 }
        END { if (NR > 5) printf " ... (%d bytes)", NR }'
    [ "$(stat -c %s "$1")" = "$(stat -c %s "$2")" ] || echo -n " (sizes $(stat -c %s "$1") and $(stat -c %s "$2"))"
}
where() { # where FILE OFFSET: the section that holds it, where objdump knows the file
    local index name size vma lma offset rest
    objdump -h "$1" 2>/dev/null | while read -r index name size vma lma offset rest; do
        [[ $index =~ ^[0-9]+$ ]] && (($2 >= 16#$offset && $2 < 16#$offset + 16#$size)) && echo " in $name"
    done
}
same() { # same FILE: identical in both runs, or which bytes differ
    cmp -s "$a/$1" "$b/$1" && return 0
    local offsets
    offsets=$(differences "$a/$1" "$b/$1")
    [[ $offsets =~ ^[0-9a-f]+ ]] && offsets+=$(where "$a/$1" "$((16#${BASH_REMATCH[0]}))")
    echo "  $1 differs at $offsets"
    return 1
}
for file in $released; do
    check "$file: the same bytes from another path, umask, time zone and locale" same "$file"
done

# PE's link time (TimeDateStamp) and checksum: the only fields that may follow the epoch.
pe_field() { od -An -tu4 -j$(($(od -An -tu4 -j60 -N4 "$1") + $2)) -N4 "$1" | tr -d ' '; }
stamp_and_checksum_only() { # stamp_and_checksum_only FILE_A FILE_B
    local header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ') offset
    for offset in $(cmp -l "$1" "$2" | awk '{ print $1 - 1 }'); do
        case $((offset - header)) in 8 | 9 | 10 | 11 | 88 | 89 | 90 | 91) ;; *)
            echo "  $(basename "$1") differs at $(printf %x "$offset")"; return 1 ;;
        esac
    done
}
(cd "$b/../src" && rm -f "$b"/win{64,32}/*.exe "$b"/win{64,32}/*.scr "$b/native/verdanelle" "$b"/web/site/verdanelle.* &&
    for config in win64 win32 web native; do
        SOURCE_DATE_EPOCH=$later cmake --build "$b/$config" >/dev/null || echo "FAIL: the rebuild of $config"
    done)
for file in win64/Verdanelle.scr win64/installer.exe win32/Verdanelle.scr win32/installer.exe; do
    check "$file: linked at the epoch given" equals "$(pe_field "$a/$file" 8) $(pe_field "$b/$file" 8)" "$early $later"
    check "$file: the link time and checksum alone follow it" stamp_and_checksum_only "$a/$file" "$b/$file"
done
for file in native/verdanelle web/site/verdanelle.wasm web/site/verdanelle.js web/site/sw.js; do
    check "$file: the epoch changes no byte" same "$file"
done
finish
