// The fern's picture in a framebuffer object of its own. The renderer draws
// each tick over the last picture, and a window's own buffers keep nothing
// for sure: an X server clears what another window uncovered, and a Wayland
// buffer drawn next holds nothing of the last. The picture keeps it all and
// is copied out whole.
#pragma once

// eglGetProcAddress or glXGetProcAddressARB.
using GlLookup = void (*(*)(const char*))();

// With the context current: false when this OpenGL has no framebuffer
// objects (OpenGL 3.0 or GL_ARB_framebuffer_object).
bool StartPicture(GlLookup lookup);
// The picture at that size, bound for the renderer to draw into; false when
// it cannot be made.
bool SizePicture(int width, int height);
// Onto the window's draw buffer, which stays bound for its flush or swap:
// a front buffer reaches the window only at a flush while it is bound.
void CopyPictureOut();
// Framebuffer 0 bound for drawing, or the picture again.
void BindWindow();
void BindPicture();
void EndPicture();
