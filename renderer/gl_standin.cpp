#include "gl_standin.h"

#include "gl_calls.h"

GlSink glSink;
CallDigest* glDigest;

extern "C" {
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (glDigest)
        glDigest->Call(viewportCall, x, y, width, height);
    if (glSink.viewport)
        glSink.viewport(x, y, width, height);
}
void glClear(GLbitfield mask) {
    if (glDigest)
        glDigest->Call(clearCall, mask);
    if (glSink.clear)
        glSink.clear(mask);
}
void glColor3ub(GLubyte red, GLubyte green, GLubyte blue) {
    if (glDigest)
        glDigest->Call(colourCall, red, green, blue);
    if (glSink.colour)
        glSink.colour(red, green, blue);
}
void glBegin(GLenum mode) {
    if (glDigest)
        glDigest->Call(beginCall, mode);
    if (glSink.begin)
        glSink.begin(mode);
}
void glVertex2d(GLdouble x, GLdouble y) {
    if (glDigest)
        glDigest->Call(vertexCall, x, y);
    if (glSink.vertex)
        glSink.vertex(x, y);
}
void glEnd(void) {
    if (glDigest)
        glDigest->Call(endCall);
    if (glSink.end)
        glSink.end();
}
void glFlush(void) {
    if (glDigest)
        glDigest->Call(flushCall);
    if (glSink.flush)
        glSink.flush();
}
}
