// The few OpenGL 1.1 entry points the renderer calls. On Windows they come
// from opengl32; natively, tests and tools link a stand-in that records them.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <GL/gl.h>
#else
extern "C" {
typedef unsigned int GLenum;
typedef unsigned int GLbitfield;
typedef unsigned char GLubyte;
typedef double GLdouble;
typedef int GLint;
typedef int GLsizei;
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void glClear(GLbitfield mask);
void glColor3ub(GLubyte red, GLubyte green, GLubyte blue);
void glBegin(GLenum mode);
void glVertex2d(GLdouble x, GLdouble y);
void glEnd(void);
void glFlush(void);
}
#define GL_LINES 0x0001
#define GL_COLOR_BUFFER_BIT 0x00004000
#endif
