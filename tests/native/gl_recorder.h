// What the renderer's OpenGL calls did, recorded through the stand-in.
#pragma once

#include <cstddef>
#include <vector>

#include "call_digest.h"

struct Pair {
    double x0, y0, x1, y1;
    bool operator==(const Pair&) const = default;
};

struct GlRecord {
    bool keepPairs = true; // false: only count them
    std::size_t pairCount = 0;
    std::vector<Pair> pairs;
    int clears = 0, flushes = 0, colours = 0;
    unsigned lastClearMask = 0;
    unsigned char red = 0, green = 0, blue = 0; // last colour set
    int viewport[4] = {};
    bool malformed = false; // a vertex outside glBegin/glEnd, or not in pairs
    CallDigest digest;      // of every call
};

// Starts a fresh record that the stand-in fills until the next call.
GlRecord& RecordGl(bool keepPairs = true);
GlRecord& CurrentGlRecord();
