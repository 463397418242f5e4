#!/bin/bash
# The 32-bit programs as the Windows 95/98/Me loader and their processors
# see them, read from the built files:
#   win95_loadable.sh BUILD_DIR OBJDUMP
# i386 GUI programs asking for subsystem 4.0; imports only from the system
# DLLs of those days, and from each (but OPENGL32) only names the 95-era DLL
# exported; no instruction of SSE or later, nor MMX, anywhere in their code.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../checks.sh"
build=$1
objdump=$2
exports=$here/../win95_exports

# "DLL NAME" for every import.
imports() {
    "$objdump" -p "$1" | awk '
        /DLL Name:/ { dll = toupper($3); sub(/\.DLL$/, "", dll); next }
        dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print dll, $3 }'
}
not_in_95() {
    local dll name
    while read -r dll name; do
        [ "$dll" = OPENGL32 ] || grep -qxF "$name" "$exports/$dll.txt" || echo "  $dll $name"
    done
}
sse() {
    "$objdump" -d --no-show-raw-insn "$1" | grep -E \
        '%[xyz]mm|%mm[0-7]|mxcsr|fisttp|prefetch|[lms]fence|movnti|clflush|maskmov|movntq' | head -n 5
}

for program in Verdanelle.scr installer.exe; do
    file=$build/$program
    header=$("$objdump" -p "$file")
    check "$program: i386" grep -q 'file format pei-i386' <<<"$header"
    check "$program: GUI subsystem" grep -qP '^Subsystem\t+00000002' <<<"$header"
    check "$program: subsystem 4.0" equals \
        "$(awk '/^(Major|Minor)SubsystemVersion/ { printf "%s ", $2 }' <<<"$header")" "4 0 "
    list=$(imports "$file")
    check "$program: imports some functions" test "$(wc -l <<<"$list")" -gt 10
    check "$program: only the system DLLs of Windows 95" equals \
        "$(cut -d' ' -f1 <<<"$list" | sort -u | grep -vxE 'KERNEL32|USER32|GDI32|ADVAPI32|OPENGL32|MSVCRT')" ""
    check "$program: only names Windows 95 exported" equals "$(not_in_95 <<<"$list")" ""
    check "$program: no SSE or MMX instruction" equals "$(sse "$file")" ""
done
finish
