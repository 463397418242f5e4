#include "keymap_keys.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr auto npos = std::string_view::npos;

bool IsBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// The body of the section `keyword "name" { ... };`, braces matched.
std::string_view Section(std::string_view keymap, std::string_view keyword) {
    std::size_t at = keymap.find(keyword);
    std::size_t open = at == npos ? npos : keymap.find('{', at);
    if (open == npos)
        return {};
    int depth = 0;
    for (std::size_t i = open; i < keymap.size(); ++i) {
        if (keymap[i] == '{')
            ++depth;
        else if (keymap[i] == '}' && --depth == 0)
            return keymap.substr(open + 1, i - open - 1);
    }
    return {};
}

// What follows `at` after blanks.
std::size_t SkipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return at;
}

// `<name> = 9;` in the keycodes: 9, or 0 where no such line names it;
// `alias <name> = <other>;` gives other's.
unsigned Keycode(std::string_view keycodes, std::string_view name, int aliases = 4) {
    for (std::size_t at = keycodes.find(name); at != npos; at = keycodes.find(name, at + 1)) {
        std::size_t value = SkipBlanks(keycodes, at + name.size());
        if (value >= keycodes.size() || keycodes[value] != '=')
            continue;
        value = SkipBlanks(keycodes, value + 1);
        if (value < keycodes.size() && keycodes[value] == '<' && aliases > 0) {
            std::size_t end = keycodes.find('>', value);
            if (end != npos)
                return Keycode(keycodes, keycodes.substr(value, end - value + 1), aliases - 1);
        }
        unsigned code = 0;
        for (; value < keycodes.size() && std::isdigit(static_cast<unsigned char>(keycodes[value]));
             ++value)
            code = std::min(code * 10 + static_cast<unsigned>(keycodes[value] - '0'), 100000u);
        if (code != 0)
            return code;
    }
    return 0;
}

} // namespace

std::vector<std::uint32_t> KeysWithSymbols(std::string_view keymap,
                                           std::initializer_list<std::string_view> symbols) {
    std::vector<std::uint32_t> keys;
    std::string_view keycodes = Section(keymap, "xkb_keycodes");
    std::string_view table = Section(keymap, "xkb_symbols");
    // Each `key <NAME> { [ first, ... ] };`, or with `symbols[Group1]= [ first, ... ]`
    // among other fields: the first symbol of the list.
    for (std::size_t at = table.find("key"); at != npos; at = table.find("key", at + 3)) {
        std::size_t name = SkipBlanks(table, at + 3);
        if ((at > 0 && !IsBlank(table[at - 1]) && table[at - 1] != ';' && table[at - 1] != '}') ||
            name >= table.size() || table[name] != '<')
            continue;
        std::size_t nameEnd = table.find('>', name);
        std::size_t blockEnd = table.find('}', name);
        if (nameEnd == npos || blockEnd == npos || nameEnd > blockEnd)
            continue;
        std::string_view block = table.substr(nameEnd, blockEnd - nameEnd);
        std::size_t field = block.find("symbols[");
        std::size_t bracket = block.find('[', field == npos ? 0 : block.find(']', field));
        if (bracket == npos)
            continue;
        std::size_t first = SkipBlanks(block, bracket + 1), last = first;
        while (last < block.size() && !IsBlank(block[last]) && block[last] != ',' &&
               block[last] != ']')
            ++last;
        std::string_view symbol = block.substr(first, last - first);
        if (std::find(symbols.begin(), symbols.end(), symbol) == symbols.end())
            continue;
        unsigned code = Keycode(keycodes, table.substr(name, nameEnd - name + 1));
        if (code >= 8)
            keys.push_back(code - 8);
    }
    return keys;
}
