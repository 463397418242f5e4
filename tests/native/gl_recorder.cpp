#include "gl_recorder.h"

#include "gl_calls.h"

namespace {
GlRecord record;
int verticesInPair = -1; // -1 outside glBegin
double pending[2];
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

extern "C" {
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    record.digest.Call(viewportCall, x, y, width, height);
    record.viewport[0] = x;
    record.viewport[1] = y;
    record.viewport[2] = width;
    record.viewport[3] = height;
}
void glClear(GLbitfield mask) {
    record.digest.Call(clearCall, mask);
    ++record.clears;
    record.lastClearMask = mask;
}
void glColor3ub(GLubyte red, GLubyte green, GLubyte blue) {
    record.digest.Call(colourCall, red, green, blue);
    ++record.colours;
    record.red = red;
    record.green = green;
    record.blue = blue;
}
void glBegin(GLenum mode) {
    record.digest.Call(beginCall, mode);
    if (mode != GL_LINES || verticesInPair != -1)
        record.malformed = true;
    verticesInPair = 0;
}
void glVertex2d(GLdouble x, GLdouble y) {
    record.digest.Call(vertexCall, x, y);
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
void glEnd(void) {
    record.digest.Call(endCall);
    if (verticesInPair != 2)
        record.malformed = true;
    verticesInPair = -1;
}
void glFlush(void) {
    record.digest.Call(flushCall);
    ++record.flushes;
}
}
