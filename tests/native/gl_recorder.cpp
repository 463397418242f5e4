#include "gl_recorder.h"

#include "gl_calls.h"
#include "gl_standin.h"

namespace {

GlRecord record;
int verticesInPair = -1; // -1 outside glBegin
double pending[2];

void Viewport(int x, int y, int width, int height) {
    record.viewport[0] = x;
    record.viewport[1] = y;
    record.viewport[2] = width;
    record.viewport[3] = height;
}
void Clear(unsigned mask) {
    ++record.clears;
    record.lastClearMask = mask;
}
void Colour(unsigned char red, unsigned char green, unsigned char blue) {
    ++record.colours;
    record.red = red;
    record.green = green;
    record.blue = blue;
}
void Begin(unsigned mode) {
    if (mode != GL_LINES || verticesInPair != -1)
        record.malformed = true;
    verticesInPair = 0;
}
void Vertex(double x, double y) {
    if (verticesInPair == 0) {
        pending[0] = x;
        pending[1] = y;
        verticesInPair = 1;
    } else if (verticesInPair == 1) {
        if (record.keepPairs)
            record.pairs.push_back(Pair{pending[0], pending[1], x, y});
        ++record.pairCount;
        verticesInPair = 2;
    } else {
        record.malformed = true;
    }
}
void End() {
    if (verticesInPair != 2)
        record.malformed = true;
    verticesInPair = -1;
}
void Flush() {
    ++record.flushes;
}

// Recording from the start, before any test asks for a fresh record.
const bool installed = [] {
    glSink = {Viewport, Clear, Colour, Begin, Vertex, End, Flush};
    glDigest = &record.digest;
    return true;
}();

} // namespace

GlRecord& RecordGl(bool keepPairs) {
    record = GlRecord{};
    record.keepPairs = keepPairs;
    verticesInPair = -1;
    return record;
}

GlRecord& CurrentGlRecord() {
    return record;
}
