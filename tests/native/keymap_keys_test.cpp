// Escape and q found by the keymap a Wayland keyboard comes with.
#include <gtest/gtest.h>

#include "keymap_keys.h"

TEST(KeymapKeys, EscapeAndQByTheKeymap) {
    struct Case {
        const char* keymap;
        std::vector<std::uint32_t> keys;
    };
    const Case table[] = {
        // As xkbcommon writes a compositor's keymap (US), trimmed.
        {"xkb_keymap {\nxkb_keycodes \"evdev+aliases(qwerty)\" {\n\tminimum = 8;\n"
         "\t<ESC>                = 9;\n\t<AD01>               = 24;\n\t<FK01> = 67;\n"
         "\talias <LatQ>         = <AD01>;\n};\nxkb_types \"complete\" { type \"ONE_LEVEL\" { "
         "modifiers= none; }; };\nxkb_symbols \"pc+us\" {\n\tname[Group1]=\"English (US)\";\n"
         "\tkey <ESC>                {\t[          Escape ] };\n"
         "\tkey <AD01>               {\t[               q,               Q ] };\n"
         "\tkey <FK01>               {\n\t\ttype= \"CTRL+ALT\",\n"
         "\t\tsymbols[Group1]= [              F1,   XF86Switch_VT_1 ]\n\t};\n};\n};\n",
         {1, 16}},
        // French: q where US has a; a symbols[1] list; a key named by its alias.
        {"xkb_keycodes { <ESC> = 9; <AC01> = 38; <AD01> = 24; alias <LatA> = <AC01>; };\n"
         "xkb_symbols { key <AD01> { [ a, A ] }; key <LatA> { type= \"ALPHA\", symbols[1]= [ q, "
         "Q ] }; key <ESC> { [ Escape ] }; };",
         {30, 1}},
        // A virtual keyboard that types one key numbers only that one: space is not Escape.
        {"xkb_keymap {\nxkb_keycodes \"(unnamed)\" {\nminimum = 8;\nmaximum = 10;\n<K1> = 9;\n"
         "<K2> = 10;\n};\nxkb_symbols \"(unnamed)\" {\nkey <K1> {[ space ]};\nkey <K2> {[ Escape "
         "]};\n};\n};\n",
         {2}},
        // Nothing usable: no sections, a key with no code, a name cut short.
        {"", {}},
        {"xkb_keycodes { }; xkb_symbols { key <ESC> { [ Escape ] }; key <Q", {}},
    };
    for (const Case& c : table)
        EXPECT_EQ(KeysWithSymbols(c.keymap, {"Escape", "q"}), c.keys) << c.keymap;
}
