#!/bin/bash
# The 32-bit programs as the Windows 95/98/Me loader and their processors
# see them, read from the built files:
#   win95_loadable.sh BUILD_DIR OBJDUMP
# i386 GUI programs asking for subsystem 4.0; imports only from the system
# DLLs of those days, and from each (but OPENGL32) only names the 95-era DLL
# exported; no instruction that a 486DX lacks anywhere in their code.
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../checks.sh"
build=$1
objdump=$2
exports=$here/../win95_exports

# "DLL NAME" for every import: each row is the slot's address, the hint and
# the name; binutils 2.44 adds an ordinal column, "<none>" for imports by name.
imports() {
    "$objdump" -p "$1" | awk '
        /DLL Name:/ { dll = toupper($3); sub(/\.DLL$/, "", dll); next }
        dll != "" && /^\t/ && (NF == 3 || NF == 4 && $2 == "<none>") &&
            $1 ~ /^[0-9a-f]+$/ && $(NF - 1) ~ /^[0-9a-f]+$/ { print dll, $NF }'
}
not_in_95() {
    local dll name
    while read -r dll name; do
        [ "$dll" = OPENGL32 ] || grep -qxF "$name" "$exports/$dll.txt" || echo "  $dll $name"
    done
}
# Each instruction a 486DX lacks (the Pentium's and the Pentium Pro's, MMX,
# SSE and later), with its address and, from the link map, the code it is in.
not_486() {
    "$objdump" -d --no-show-raw-insn "$1" | awk -F'\t' -v map="$2" '
        function pad(a) { sub(/^0x/, "", a); while (length(a) < 8) a = "0" a; return a }
        BEGIN { # the map: each symbol of the code with its address and object
            while ((getline line < map) > 0) {
                n = split(line, f, " ")
                if (n == 1 || n == 4) section = f[1]
                if (section ~ /^\.text/ && (n == 3 || n == 4) && f[n - 2] ~ /^0x/) {
                    object = f[n]; sub(/.*\//, "", object)
                    at[++count] = pad(f[n - 2]); name[count] = object
                } else if (section ~ /^\.text/ && n == 2 && f[1] ~ /^0x/) {
                    at[++count] = pad(f[1]); name[count] = f[2] " (" object ")"
                }
            }
        }
        $2 ~ /^(cmov|fcmov|fcomi|fucomi|nop[wl]|sysenter|sysexit|syscall|sysret|rdtsc|rdpmc|rdmsr)/ ||
        $2 ~ /^(wrmsr|cmpxchg8b|cpuid|emms|fisttp|fxsave|fxrstor|xsave|xrstor|prefetch|[lms]fence)/ ||
        $2 ~ /^(movnti|clflush|maskmov|movntq|popcnt|lzcnt|tzcnt|movbe|crc32|rdrand|rdseed)/ ||
        $2 ~ /%[xyz]mm|%mm[0-7]|mxcsr/ {
            address = $1; gsub(/[ :]/, "", address); best = ""
            for (i = 1; i <= count; i++)
                if (at[i] <= pad(address) && at[i] >= best) { best = at[i]; where = name[i] }
            split($2, word, " ")
            print "  " address " " word[1] (best == "" ? "" : " in " where)
        }'
}

# What Windows 95 or NT 4.0 lacks (NT 4.0 has no power management, neither
# has the DPI or DLL-directory calls) is looked up at run time: a loader
# refuses a program that imports a name its KERNEL32 or USER32 lacks.
looked_up='GetSystemPowerStatus|SetProcessDpiAwarenessContext|SetProcessDPIAware|'\
'GetWindowDpiAwarenessContext|SetThreadDpiAwarenessContext|SetDefaultDllDirectories|ImmAssociateContext'

for program in Verdanelle.scr installer.exe; do
    file=$build/$program
    header=$("$objdump" -p "$file")
    check "$program: i386" grep -q 'file format pei-i386' <<<"$header"
    check "$program: GUI subsystem" grep -qP '^Subsystem\t+00000002' <<<"$header"
    check "$program: subsystem 4.0" equals \
        "$(awk '/^(Major|Minor)SubsystemVersion/ { printf "%s ", $2 }' <<<"$header")" "4 0 "
    list=$(imports "$file")
    check "$program: imports some functions" test "$(wc -l <<<"$list")" -gt 10
    check "$program: only the system DLLs of Windows 95, no C runtime" equals \
        "$(cut -d' ' -f1 <<<"$list" | sort -u | grep -vxE 'KERNEL32|USER32|GDI32|ADVAPI32|OPENGL32')" ""
    check "$program: only names Windows 95 exported" equals "$(not_in_95 <<<"$list")" ""
    check "$program: imports nothing Windows 95 or NT 4.0 lacks" equals \
        "$(grep -E " ($looked_up)\$" <<<"$list")" ""
    check "$program: no instruction a 486DX lacks" equals "$(not_486 "$file" "$build/${program%.*}.map")" ""
done
finish
