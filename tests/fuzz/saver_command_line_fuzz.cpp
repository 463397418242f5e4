// The Windows saver's command line in a buffer of exactly its size (so that
// AddressSanitizer catches a read past its zero), stepped through as
// CharNextA does, in a double-byte code page when the first byte says so.
// What it points to stays within the line; a number is its leading digits
// modulo 2^32.
#include <cstdint>
#include <cstring>
#include <memory>

#include "command_line.h"
#include "property.h"

namespace {

const char* NextDoubleByte(const char* p) { // a lead byte takes the next one too
    auto b = static_cast<unsigned char>(*p);
    return b == 0 ? p : p + (b >= 0x81 && b <= 0xFE && p[1] != 0 ? 2 : 1);
}
const char* NextSingleByte(const char* p) {
    return *p == 0 ? p : p + 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::size_t length = strnlen(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::unique_ptr<char[]> line(new char[length + 1]);
    std::memcpy(line.get(), data + 1, length);
    line[length] = '\0';
    const char* tail = CutProgramName(line.get(), data[0] & 2 ? NextDoubleByte : NextSingleByte);
    Hold(tail >= line.get() && tail <= line.get() + length, "the tail is within the line",
         line.get());
    ModeChoice choice = ChooseMode(tail, data[0] & 1);
    Hold(choice.rest >= tail && choice.rest <= line.get() + length, "the rest is within the tail",
         line.get());
    for (const char* text : {choice.rest, tail}) {
        std::uint32_t digits = 0;
        for (const char* p = text; *p >= '0' && *p <= '9'; ++p)
            digits = digits * 10 + static_cast<std::uint32_t>(*p - '0');
        Hold(ParseDecimal(text) == digits, "a number is its leading digits modulo 2^32", text);
    }
    return 0;
}
