#include "command_line.h"

namespace {
unsigned char Byte(const char* p) {
    return static_cast<unsigned char>(*p);
}
} // namespace

const char* CutProgramName(const char* line, NextChar next) {
    const char* p = line;
    if (Byte(p) == '"') {
        p = next(p);
        while (Byte(p) != 0 && Byte(p) != '"')
            p = next(p);
        if (Byte(p) == '"')
            ++p; // the closing quote is one byte
    } else if (Byte(p) > 0x20) {
        while (Byte(p) > 0x20)
            p = next(p);
    }
    while (Byte(p) != 0 && Byte(p) <= 0x20)
        p = next(p);
    return p;
}

std::uint32_t ParseDecimal(const char* text) {
    std::uint32_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) // signed: 0x80 and up stop it
        value = value * 10u + static_cast<std::uint32_t>(*p - '0');
    return value;
}

static const char* SkipBlanks(const char* p) {
    while (*p == ' ')
        ++p;
    return p;
}

ModeChoice ChooseMode(const char* tail, bool onWin9x) {
    const char* p = tail;
    while (*p == ' ' || *p == '-' || *p == '/')
        ++p;
    switch (*p) {
    case '\0':
        return {SaverMode::AboutBox, p, 0};
    case 'a':
    case 'A':
        if (!onWin9x)
            return {SaverMode::Refused, p, 0};
        return {SaverMode::PasswordChange, SkipBlanks(p + 1), 0};
    case 'c':
    case 'C':
        if (p[1] == ':')
            return {SaverMode::Configure, p + 2, ParseDecimal(p + 2)};
        return {SaverMode::Configure, p + 1, 0};
    case 'p':
    case 'P':
    case 'l':
    case 'L':
        return {SaverMode::Preview, SkipBlanks(p + 1), 0};
    case 's':
    case 'S':
        return {SaverMode::FullScreen, p + 1, 0};
    default:
        return {SaverMode::Refused, p, 0};
    }
}
