// On 32-bit x86 without SSE the doubles are computed by the x87 unit, which
// a runtime's start-up may leave rounding to 64 bits: results rounded twice
// then differ in the last bit from every other build. Rounding each result
// to a double's 53 bits makes them equal.
#pragma once

inline void UseDoublePrecision() {
#if defined(__i386__) && !defined(__SSE2_MATH__)
    unsigned short control;
    __asm__ volatile("fnstcw %0" : "=m"(control));
    control = static_cast<unsigned short>((control & ~0x300u) | 0x200u); // precision: 53 bits
    __asm__ volatile("fldcw %0" : : "m"(control));
#endif
}
