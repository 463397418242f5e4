// The assembler name of the slot through which a program calls an imported
// function, and of ld --wrap's names for it (KIND "__real_" or "__wrap_").
// On 32-bit x86 the names carry the leading underscore and the stdcall
// argument bytes.
#pragma once

#ifdef _WIN64
#define IMPORT_SYMBOL(kind, name, bytes) kind "__imp_" #name
#else
#define IMPORT_SYMBOL(kind, name, bytes) "_" kind "_imp__" #name "@" #bytes
#endif
