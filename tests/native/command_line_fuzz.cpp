// Random command lines, each in a buffer of exactly its own size, through
// the command-line decisions. Built with AddressSanitizer, so a read past the
// terminating zero fails the run.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "command_line.h"

namespace {
// A stand-in for CharNextA in a double-byte code page: lead bytes take two.
const char* NextDoubleByte(const char* p) {
    unsigned char b = static_cast<unsigned char>(*p);
    if (b == 0)
        return p;
    return p + (b >= 0x81 && b <= 0xFE && p[1] != 0 ? 2 : 1);
}
} // namespace

int main(int argc, char** argv) {
    long rounds = argc > 1 ? std::atol(argv[1]) : 200000;
    std::mt19937 random(20261207);
    const char alphabet[] = " \t\"-/:0123456789aAcCpPlLsSx?\x81\x83\xfe\xff";
    unsigned checked = 0;
    for (long i = 0; i < rounds; ++i) {
        std::size_t length = random() % 24;
        char* line = new char[length + 1];
        for (std::size_t k = 0; k < length; ++k)
            line[k] = random() % 4 == 0 ? static_cast<char>(random() % 256)
                                        : alphabet[random() % (sizeof alphabet - 1)];
        line[length] = '\0';
        const char* tail = CutProgramName(line, NextDoubleByte);
        if (tail < line || tail > line + length) {
            std::printf("tail outside the line\n");
            return 1;
        }
        ModeChoice choice = ChooseMode(tail, random() % 2 == 0);
        if (choice.rest < line || choice.rest > line + length) {
            std::printf("rest outside the line\n");
            return 1;
        }
        ParseDecimal(choice.rest);
        ParseDecimal(tail);
        ++checked;
        delete[] line;
    }
    std::printf("%u passed, 0 failed\n", checked);
    return 0;
}
