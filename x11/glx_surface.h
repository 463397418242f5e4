// The window the hack draws on and its OpenGL context: a window it is given,
// with the visual that window has, or a window of its own.
#pragma once

#include <X11/Xlib.h>
#include <GL/glx.h>

#include <string>

struct GlxSurface {
    Display* display = nullptr;
    Window window = 0;       // the fern's
    Window cover = 0;        // full screen: black over every monitor, the fern's window on one
    bool own = false;        // made here, so ended by Escape, q or the close button,
    bool fullScreen = false; // or, full screen, by any key, button or movement
    Atom deleteWindow = 0;
    Colormap colormap = None; // its own window's
    GLXContext context = nullptr;
    bool picture = false; // the fern kept in its picture and copied out, else drawn on the window
    int width = 0, height = 0;
    // Full screen: where the pointer was just before the window came, so
    // that a movement while it starts still counts.
    int pointerX = 0, pointerY = 0;
    bool pointerKnown = false;
};

// Both return an empty string, or why the window cannot be drawn on; a
// window id that names no window leaves `window` 0.
std::string AdoptWindow(GlxSurface& surface, Window window);
// Full screen: every monitor covered as they are now, in windows no window
// manager moves, the fern at its monitor's size; no cursor.
std::string MakeOwnWindow(GlxSurface& surface, int width, int height, bool fullScreen);
// Full screen: the cover and the fern's window moved to the monitors as
// they are now. A new size comes back as the fern window's ConfigureNotify.
void FollowLayout(GlxSurface& surface);

// A new figure at the surface's size.
void StartSurfaceFigure(GlxSurface& surface);
// The picture onto the window, where there is one.
void ShowPicture(GlxSurface& surface);

// The window (if its own) and the context gone, the display kept.
void CloseWindow(GlxSurface& surface);
void CloseSurface(GlxSurface& surface);
