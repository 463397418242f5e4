#include <gtest/gtest.h>

#include <string>

#include "command_line.h"

namespace {

// Shift-JIS lead bytes, as CharNextA would take them in code page 932.
const char* NextShiftJis(const char* p) {
    unsigned char b = static_cast<unsigned char>(*p);
    if (b == 0)
        return p;
    bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    return p + (lead && p[1] != 0 ? 2 : 1);
}

} // namespace

TEST(CutProgramName, Tails) {
    const struct {
        const char* line;
        const char* tail;
    } table[] = {
        {"Verdanelle.scr /s", "/s"},
        {"C:\\WINDOWS\\VERDAN~1.SCR   \t /p 1234", "/p 1234"},
        {"\"C:\\Program Files\\Verdanelle.scr\" /c:77", "/c:77"},
        {"\"C:\\Program Files\\Verdanelle.scr\"/s", "/s"}, // no blank needed after the quote
        {"\"C:\\never closed /s", ""},                     // swallows the whole line
        {"\"\" /s", "/s"},
        {"Verdanelle.scr", ""},
        {"", ""},
        {" /s", "/s"},                     // nothing to cut: blanks skipped
        {"\t\x01/s", "/s"},                // any byte up to 0x20 separates
        {"\"C:\\\x83\x22.scr\" /s", "/s"}, // 0x83 0x22 is one character
        {"C:\\\x83\x20x.scr /s", "/s"},    // 0x83 0x20 is one character
        {"\"a\x83", ""},                   // a lead byte before the end
    };
    for (const auto& row : table)
        EXPECT_EQ(std::string(CutProgramName(row.line, NextShiftJis)), row.tail) << row.line;
}

TEST(ParseDecimal, LeadingDigitsModulo2To32) {
    const struct {
        const char* text;
        std::uint32_t value;
    } table[] = {
        // clang-format off
        {"123abc", 123},          {" 123", 0},          {"", 0},
        {"4294967295", 4294967295u}, {"4294967296", 0}, {"4294967297", 1},
        {"-5", 0},                {"007", 7},           {"12\x80" "3", 12},
        // clang-format on
        {"99999999999999999999", 1661992959u},
    };
    for (const auto& row : table)
        EXPECT_EQ(ParseDecimal(row.text), row.value) << row.text;
}

TEST(ChooseMode, SwitchTable) {
    using M = SaverMode;
    const struct {
        const char* tail;
        bool win9x;
        SaverMode mode;
        const char* rest; // null: not looked at
        std::uint32_t parent;
    } table[] = {
        {"", false, M::AboutBox, nullptr, 0},
        {"--//  -/", false, M::AboutBox, nullptr, 0},
        {"/s", false, M::FullScreen, nullptr, 0},
        {"-s", false, M::FullScreen, nullptr, 0},
        {"S", false, M::FullScreen, nullptr, 0},
        {"/S", false, M::FullScreen, nullptr, 0},
        {"/scr", false, M::FullScreen, nullptr, 0},
        {"/s 123", false, M::FullScreen, nullptr, 0},
        {"- -//- s", false, M::FullScreen, nullptr, 0},
        {"/p 1234", false, M::Preview, "1234", 0},
        {"/p1234", false, M::Preview, "1234", 0},
        {"/P   1234", false, M::Preview, "1234", 0},
        {"/l 1234", false, M::Preview, "1234", 0},
        {"/L1234", false, M::Preview, "1234", 0},
        {"/p:1234", false, M::Preview, ":1234", 0},
        {"/p", false, M::Preview, "", 0},
        {"/c:1234", false, M::Configure, nullptr, 1234},
        {"/C:1234", false, M::Configure, nullptr, 1234},
        {"/c 1234", false, M::Configure, nullptr, 0},
        {"/c: 1234", false, M::Configure, nullptr, 0},
        {"/c", false, M::Configure, nullptr, 0},
        {"/c:", false, M::Configure, nullptr, 0},
        {"/a 1234", true, M::PasswordChange, "1234", 0},
        {"/A1234", true, M::PasswordChange, "1234", 0},
        {"/a 1234", false, M::Refused, nullptr, 0},
        {"/x", false, M::Refused, nullptr, 0},
        {"/?", true, M::Refused, nullptr, 0},
        {"/\ts", false, M::Refused, nullptr, 0},
        {"1", false, M::Refused, nullptr, 0},
        {"\x83s", false, M::Refused, nullptr, 0},
        {"\xffs", true, M::Refused, nullptr, 0},
        {"q", false, M::Refused, nullptr, 0},
    };
    for (const auto& row : table) {
        ModeChoice choice = ChooseMode(row.tail, row.win9x);
        EXPECT_EQ(choice.mode, row.mode) << row.tail;
        if (row.rest != nullptr) {
            EXPECT_EQ(std::string(choice.rest), row.rest) << row.tail;
        }
        if (row.mode == M::Configure) {
            EXPECT_EQ(choice.parent, row.parent) << row.tail;
        }
    }
}
