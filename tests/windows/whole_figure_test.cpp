// The renderer's tick handling as this build compiles it, its OpenGL calls
// recorded in place of opengl32's: every call and every double must be the
// native build's, bit for bit.
#include <gtest/gtest.h>

#include <windows.h>
#include <GL/gl.h>

#include "call_digest.h"
#include "import_symbol.h"
#include "whole_figures.h"

namespace {

CallDigest digest;

void WINAPI Viewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    digest.Call(viewportCall, x, y, width, height);
}
void WINAPI Clear(GLbitfield mask) {
    digest.Call(clearCall, mask);
}
void WINAPI Colour3(GLubyte red, GLubyte green, GLubyte blue) {
    digest.Call(colourCall, red, green, blue);
}
void WINAPI Begin(GLenum mode) {
    digest.Call(beginCall, mode);
}
void WINAPI Vertex(GLdouble x, GLdouble y) {
    digest.Call(vertexCall, x, y);
}
void WINAPI End() {
    digest.Call(endCall);
}
void WINAPI Flush() {
    digest.Call(flushCall);
}

} // namespace

// The import slots the renderer calls through, filled here instead of by the
// loader.
#define SLOT(name, bytes, params, recorder)                                                        \
    extern "C" void(WINAPI * slot_##name) params __asm__(IMPORT_SYMBOL("", name, bytes));          \
    void(WINAPI * slot_##name) params = recorder

SLOT(glViewport, 16, (GLint, GLint, GLsizei, GLsizei), Viewport);
SLOT(glClear, 4, (GLbitfield), Clear);
SLOT(glColor3ub, 12, (GLubyte, GLubyte, GLubyte), Colour3);
SLOT(glBegin, 4, (GLenum), Begin);
SLOT(glVertex2d, 16, (GLdouble, GLdouble), Vertex);
SLOT(glEnd, 0, (), End);
SLOT(glFlush, 0, (), Flush);

TEST(WholeFigures, SameCallsAndDoublesAsTheNativeBuild) {
    for (const WholeFigures& want : wholeFigures) {
        digest = CallDigest{};
        int ticks = GrowBothFigures(want.width, want.height);
        EXPECT_EQ(ticks, want.ticks) << want.width << " x " << want.height;
        EXPECT_EQ(digest.calls, want.calls) << want.width << " x " << want.height;
        EXPECT_EQ(digest.value, want.digest) << want.width << " x " << want.height;
    }
}
