// How xscreensaver reads the programs: list of an ~/.xscreensaver, written
// apart from the editor so that the fuzz targets can hold its edits to it:
// the one logical line (physical ones joined where an odd run of backslashes
// ends one) named programs: on its first line, cut at each \n, each piece
// trimmed, blank ones dropped. The other logical lines are the user's settings.
#pragma once

#include <strings.h>

#include <string>
#include <vector>

struct Reading {
    bool found = false; // one list, ended
    std::vector<std::string> entries, settings;
};

inline std::string TrimBlanks(const std::string& s) {
    std::size_t first = s.find_first_not_of(" \t"), last = s.find_last_not_of(" \t");
    return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}

// Where NAME's value starts on a logical line, or npos: any case, no blank
// before the colon.
inline std::size_t NamedValue(const std::string& line, const char* name) {
    std::size_t i = line.find_first_not_of(" \t"), n = std::string(name).size();
    if (i == std::string::npos || line.size() < i + n + 1 ||
        strncasecmp(line.c_str() + i, name, n) != 0 || line[i + n] != ':')
        return std::string::npos;
    return i + n + 1;
}

inline Reading ReadAsXscreensaver(const std::string& file) {
    std::vector<std::string> logical;
    std::vector<std::size_t> firstLength; // of each one's first physical line
    bool continued = false, open = false;
    for (std::size_t start = 0; start < file.size();) {
        std::size_t end = file.find('\n', start);
        if (end == std::string::npos)
            end = file.size();
        std::string line = file.substr(start, end - start);
        start = end + 1;
        std::size_t run = 0;
        while (run < line.size() && line[line.size() - 1 - run] == '\\')
            ++run;
        bool continues = run % 2 == 1;
        if (continues)
            line.pop_back();
        if (continued)
            logical.back() += line;
        else {
            logical.push_back(line);
            firstLength.push_back(line.size());
        }
        continued = continues;
    }
    open = continued;
    Reading reading;
    int lists = 0;
    for (std::size_t k = 0; k < logical.size(); ++k) {
        std::size_t value = NamedValue(logical[k], "programs");
        if (value == std::string::npos || value > firstLength[k]) {
            reading.settings.push_back(logical[k]);
            continue;
        }
        ++lists;
        std::string rest = logical[k].substr(value);
        for (std::size_t j = 0;;) {
            std::size_t cut = rest.find("\\n", j);
            std::string piece =
                TrimBlanks(rest.substr(j, cut == std::string::npos ? cut : cut - j));
            if (!piece.empty())
                reading.entries.push_back(piece);
            if (cut == std::string::npos)
                break;
            j = cut + 2;
        }
        if (open && k + 1 == logical.size())
            lists = 2; // runs to the end: not one we compare
    }
    reading.found = lists == 1;
    return reading;
}

// The entry that --add-to-xscreensaver puts in, as xscreensaver reads it.
inline const std::string oursRead = "GL: \"Verdanelle\"  verdanelle --root";

// Could the entry run verdanelle? The editor takes out only those.
inline bool NamesVerdanelle(const std::string& entry) {
    return entry.find("verdanelle") != std::string::npos;
}
