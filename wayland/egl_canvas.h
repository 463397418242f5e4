// OpenGL on Wayland surfaces through EGL. A Wayland window shows only what
// a buffer swap hands over, and the buffer drawn next holds nothing of the
// last: the fern grows in its picture, which each swap copies out whole.
#pragma once

#include <wayland-client.h>
#include <wayland-egl.h>
#include <EGL/egl.h>

#include <string>

struct EglWindow {
    wl_egl_window* native = nullptr;
    EGLSurface surface = EGL_NO_SURFACE;
    int width = 0, height = 0;
};

// Empty strings, or why OpenGL cannot draw there. EGL may end (EndEgl) and
// start again.
std::string StartEgl(wl_display* display);
std::string OpenEglWindow(EglWindow& window, wl_surface* surface, int width, int height);

// The fern's window: the picture resized to it, cleared, and made the one
// the renderer draws into.
std::string DrawInto(EglWindow& window);
// The picture on the fern's window.
void Present(EglWindow& fern);
// One black frame on another window; then the fern's is current again.
void PaintBlack(EglWindow& window, EglWindow* fern);

void CloseEglWindow(EglWindow& window);
void EndEgl();
