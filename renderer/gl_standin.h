// The renderer's OpenGL entry points for the builds without OpenGL (the
// tools, the native tests, the web page): each call is folded into the digest
// while one is set, then handed to the sink's function for it, if any.
#pragma once

#include "call_digest.h"

struct GlSink {
    void (*viewport)(int x, int y, int width, int height) = nullptr;
    void (*clear)(unsigned mask) = nullptr;
    void (*colour)(unsigned char red, unsigned char green, unsigned char blue) = nullptr;
    void (*begin)(unsigned mode) = nullptr;
    void (*vertex)(double x, double y) = nullptr;
    void (*end)() = nullptr;
    void (*flush)() = nullptr;
};

extern GlSink glSink;
extern CallDigest* glDigest; // null: no digest
