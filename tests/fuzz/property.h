// What the fuzz targets share: a property held, or the run stopped with the
// text that broke it (libFuzzer keeps the input), and text cut into lines.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

inline void Hold(bool holds, const char* property, const std::string& text = "") {
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n--- text ---\n%s\n---\n", property, text.c_str());
    std::abort();
}

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}
