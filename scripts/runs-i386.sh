#!/bin/bash
# Exits 0 when this kernel starts a 32-bit x86 program: a tiny one is
# assembled and run, and must exit with 7.
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
printf '.globl _start\n_start:\n movl $1, %%eax\n movl $7, %%ebx\n int $0x80\n' >"$dir/t.s"
as --32 "$dir/t.s" -o "$dir/t.o" 2>/dev/null && ld -m elf_i386 "$dir/t.o" -o "$dir/t" 2>/dev/null || exit 1
"$dir/t" 2>/dev/null
[ $? -eq 7 ]
