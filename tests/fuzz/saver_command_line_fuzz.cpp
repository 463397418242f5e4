// The Windows saver's command line, in a buffer of exactly its own size (so
// AddressSanitizer catches a read past its zero), as CharNextA steps through
// it in a double-byte code page. What it points to stays within the line, and
// a number is its leading digits modulo 2^32.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "command_line.h"

namespace {

// CharNextA in a double-byte code page: a lead byte takes the next one too.
const char* NextDoubleByte(const char* p) {
    unsigned char b = static_cast<unsigned char>(*p);
    if (b == 0)
        return p;
    return p + (b >= 0x81 && b <= 0xFE && p[1] != 0 ? 2 : 1);
}

const char* NextSingleByte(const char* p) {
    return *p == 0 ? p : p + 1;
}

std::uint32_t LeadingDigits(const char* text) {
    std::uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        value = value * 10 + static_cast<std::uint32_t>(*text - '0');
    return value;
}

[[noreturn]] void Broken(const char* property, const char* line) {
    std::fprintf(stderr, "property broken: %s: \"%s\"\n", property, line);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool onWin9x = data[0] & 1, doubleByte = data[0] & 2;
    std::size_t length = strnlen(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::unique_ptr<char[]> line(new char[length + 1]);
    std::memcpy(line.get(), data + 1, length);
    line[length] = '\0';
    const char* end = line.get() + length;
    const char* tail = CutProgramName(line.get(), doubleByte ? NextDoubleByte : NextSingleByte);
    if (tail < line.get() || tail > end)
        Broken("the tail is within the line", line.get());
    ModeChoice choice = ChooseMode(tail, onWin9x);
    if (choice.rest < tail || choice.rest > end)
        Broken("the rest is within the tail", line.get());
    for (const char* text : {choice.rest, tail, static_cast<const char*>(line.get())})
        if (ParseDecimal(text) != LeadingDigits(text))
            Broken("a number is its leading digits modulo 2^32", text);
    return 0;
}
