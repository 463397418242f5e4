// The few OpenGL 1.1 entry points the renderer calls, declared here so that
// it needs no platform header. On Windows they are opengl32's imports, with
// its calling convention; elsewhere libGL's, or the stand-in's.
#pragma once

#ifdef _WIN32
#define GL_IMPORT __declspec(dllimport)
#define GL_CALL __stdcall
#else
#define GL_IMPORT
#define GL_CALL
#endif

extern "C" {
typedef unsigned int GLenum;
typedef unsigned int GLbitfield;
typedef unsigned char GLubyte;
typedef double GLdouble;
typedef int GLint;
typedef int GLsizei;
GL_IMPORT void GL_CALL glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
GL_IMPORT void GL_CALL glClear(GLbitfield mask);
GL_IMPORT void GL_CALL glColor3ub(GLubyte red, GLubyte green, GLubyte blue);
GL_IMPORT void GL_CALL glBegin(GLenum mode);
GL_IMPORT void GL_CALL glVertex2d(GLdouble x, GLdouble y);
GL_IMPORT void GL_CALL glEnd(void);
GL_IMPORT void GL_CALL glFlush(void);
}

#ifndef GL_LINES
#define GL_LINES 0x0001
#define GL_COLOR_BUFFER_BIT 0x00004000
#endif
