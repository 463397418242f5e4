#include "glx_surface.h"

#include <X11/Xutil.h>
#include <GL/gl.h>

#include <cstdio>
#include <vector>

#include "gl_picture.h"
#include "monitors.h"
#include "tick_loop.h"

namespace {

// Makes the context current on the window; a double-buffered visual still
// gets the picture on its front buffer, with no swap to wait for.
std::string StartContext(GlxSurface& surface, XVisualInfo* visual) {
    int usesGl = 0, doubleBuffered = 0;
    if (glXGetConfig(surface.display, visual, GLX_USE_GL, &usesGl) != 0 || !usesGl)
        return "the window's visual has no OpenGL";
    glXGetConfig(surface.display, visual, GLX_DOUBLEBUFFER, &doubleBuffered);
    surface.context = glXCreateContext(surface.display, visual, nullptr, True);
    if (surface.context == nullptr)
        return "cannot create an OpenGL context";
    if (!glXMakeCurrent(surface.display, surface.window, surface.context))
        return "cannot make the OpenGL context current";
    if (doubleBuffered)
        glDrawBuffer(GL_FRONT);
    surface.picture = StartPicture([](const char* name) {
        return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name));
    });
    return "";
}

} // namespace

std::string AdoptWindow(GlxSurface& surface, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(surface.display, window, &attributes)) {
        char text[40];
        std::snprintf(text, sizeof text, "no window 0x%lx", window);
        return text;
    }
    surface.window = window;
    surface.width = attributes.width;
    surface.height = attributes.height;
    XSelectInput(surface.display, window, StructureNotifyMask | ExposureMask);

    XVisualInfo wanted = {};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(surface.display, VisualIDMask, &wanted, &count);
    if (visual == nullptr)
        return "cannot find the window's visual";
    std::string error = StartContext(surface, visual);
    XFree(visual);
    return error;
}

std::string MakeOwnWindow(GlxSurface& surface, int width, int height, bool fullScreen) {
    Display* display = surface.display;
    int screen = DefaultScreen(display);
    Window root = RootWindow(display, screen);
    Monitor fern = {0, 0, width, height};
    int rootWidth = width, rootHeight = height;
    if (fullScreen) {
        std::vector<Monitor> monitors = ReadMonitors(display, rootWidth, rootHeight);
        fern = monitors[FernMonitor(monitors)];
        Window child;
        int x, y;
        unsigned buttons;
        surface.pointerKnown = XQueryPointer(display, root, &root, &child, &surface.pointerX,
                                             &surface.pointerY, &x, &y, &buttons);
    }
    int single[] = {GLX_RGBA, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1, None};
    int doubled[] = {
        GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1, None};
    XVisualInfo* visual = glXChooseVisual(display, screen, single);
    if (visual == nullptr)
        visual = glXChooseVisual(display, screen, doubled);
    if (visual == nullptr)
        return "no OpenGL visual on this display";

    Window parent = root;
    if (fullScreen) {
        // Override-redirect, as X11 screen savers are: no window manager
        // puts it on one monitor, or under its panels. Input comes by grabs.
        XSetWindowAttributes cover = {};
        cover.override_redirect = True;
        cover.background_pixel = BlackPixel(display, screen);
        cover.event_mask =
            KeyPressMask | ButtonPressMask | PointerMotionMask | VisibilityChangeMask;
        char nothing = 0; // a cursor of one bit, masked out
        Pixmap blank = XCreateBitmapFromData(display, root, &nothing, 1, 1);
        XColor black = {};
        cover.cursor = XCreatePixmapCursor(display, blank, blank, &black, &black, 0, 0);
        XFreePixmap(display, blank);
        surface.cover = parent = XCreateWindow(
            display, root, 0, 0, rootWidth, rootHeight, 0, CopyFromParent, InputOutput,
            CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask | CWCursor, &cover);
        XFreeCursor(display, cover.cursor); // the window keeps its own
        XStoreName(display, surface.cover, "Verdanelle");
    }
    XSetWindowAttributes attributes = {};
    attributes.colormap = surface.colormap =
        XCreateColormap(display, root, visual->visual, AllocNone);
    attributes.background_pixel = attributes.border_pixel = BlackPixel(display, screen);
    attributes.event_mask =
        StructureNotifyMask | ExposureMask | VisibilityChangeMask | (fullScreen ? 0 : KeyPressMask);
    surface.window = XCreateWindow(
        display, parent, fern.x, fern.y, fern.width, fern.height, 0, visual->depth, InputOutput,
        visual->visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask, &attributes);
    surface.own = true;
    surface.fullScreen = fullScreen;
    surface.width = fern.width;
    surface.height = fern.height;
    if (!fullScreen) {
        XStoreName(display, surface.window, "Verdanelle");
        surface.deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display, surface.window, &surface.deleteWindow, 1);
    }
    XMapWindow(display, surface.window);
    if (fullScreen)
        XMapRaised(display, surface.cover);

    std::string error = StartContext(surface, visual);
    XFree(visual);
    return error;
}

void FollowLayout(GlxSurface& surface) {
    int width, height;
    std::vector<Monitor> monitors = ReadMonitors(surface.display, width, height);
    Monitor fern = monitors[FernMonitor(monitors)];
    XMoveResizeWindow(surface.display, surface.cover, 0, 0, width, height);
    XMoveResizeWindow(surface.display, surface.window, fern.x, fern.y, fern.width, fern.height);
}

void StartSurfaceFigure(GlxSurface& surface) {
    // Without a picture of that size, straight onto the window as before.
    if (surface.picture && !SizePicture(surface.width, surface.height)) {
        BindWindow();
        surface.picture = false;
    }
    StartFigure(surface.width, surface.height);
}

void ShowPicture(GlxSurface& surface) {
    if (!surface.picture)
        return;
    CopyPictureOut();
    glFlush();
    BindPicture();
}

void CloseWindow(GlxSurface& surface) {
    if (surface.context != nullptr) {
        EndPicture();
        glXMakeCurrent(surface.display, None, nullptr);
        glXDestroyContext(surface.display, surface.context);
    }
    if (surface.own)
        XDestroyWindow(surface.display, surface.cover != 0 ? surface.cover : surface.window);
    if (surface.colormap != None)
        XFreeColormap(surface.display, surface.colormap);
    surface = GlxSurface{surface.display};
}

void CloseSurface(GlxSurface& surface) {
    CloseWindow(surface);
    XCloseDisplay(surface.display);
}
