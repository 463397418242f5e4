#include "egl_canvas.h"

#include <EGL/eglext.h>
#include <GL/gl.h>

#include "gl_picture.h"

namespace {

EGLDisplay display = EGL_NO_DISPLAY;
EGLConfig config = nullptr;
EGLContext context = EGL_NO_CONTEXT;

// Eight bits a colour, as the renderer's colours have: EGL sorts deeper
// configs first, whose buffers cost a conversion at every copy. No alpha,
// which would let the compositor blend what is behind into the picture.
EGLConfig ChooseConfig() {
    // clang-format off
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT,
                             EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                             EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                             EGL_NONE};
    // clang-format on
    EGLConfig configs[64];
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, configs, 64, &count) || count == 0)
        return nullptr;
    EGLConfig best = configs[0];
    int bestScore = -1;
    for (EGLint i = 0; i < count; ++i) {
        EGLint red = 0, green = 0, blue = 0, alpha = 0;
        eglGetConfigAttrib(display, configs[i], EGL_RED_SIZE, &red);
        eglGetConfigAttrib(display, configs[i], EGL_GREEN_SIZE, &green);
        eglGetConfigAttrib(display, configs[i], EGL_BLUE_SIZE, &blue);
        eglGetConfigAttrib(display, configs[i], EGL_ALPHA_SIZE, &alpha);
        int score = (red == 8 && green == 8 && blue == 8 ? 2 : 0) + (alpha == 0 ? 1 : 0);
        if (score > bestScore) {
            best = configs[i];
            bestScore = score;
        }
    }
    return best;
}

bool MakeCurrent(EglWindow& window) {
    if (!eglMakeCurrent(display, window.surface, window.surface, context))
        return false;
    eglSwapInterval(display, 0); // a hidden window must not hold the ticks back
    return true;
}

} // namespace

std::string StartEgl(wl_display* wayland) {
    display = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, wayland, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr))
        return "cannot start EGL on the Wayland display";
    if (!eglBindAPI(EGL_OPENGL_API) || (config = ChooseConfig()) == nullptr)
        return "EGL offers no OpenGL for Wayland windows";
    context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr);
    if (context == EGL_NO_CONTEXT)
        return "cannot create an OpenGL context";
    return "";
}

std::string OpenEglWindow(EglWindow& window, wl_surface* surface, int width, int height) {
    window.width = width;
    window.height = height;
    if (window.native != nullptr) {
        wl_egl_window_resize(window.native, width, height, 0, 0);
        return "";
    }
    window.native = wl_egl_window_create(surface, width, height);
    if (window.native == nullptr)
        return "cannot make an EGL window";
    window.surface = eglCreatePlatformWindowSurface(display, config, window.native, nullptr);
    if (window.surface == EGL_NO_SURFACE)
        return "cannot make an EGL window surface";
    return "";
}

std::string DrawInto(EglWindow& window) {
    if (!MakeCurrent(window))
        return "cannot make the OpenGL context current";
    if (!StartPicture(eglGetProcAddress))
        return "this OpenGL has no framebuffer objects (OpenGL 3.0 or "
               "GL_ARB_framebuffer_object)";
    if (!SizePicture(window.width, window.height))
        return "cannot make a picture of the window's size";
    glClearColor(0, 0, 0, 1); // opaque, whatever the window's buffers hold
    glClear(GL_COLOR_BUFFER_BIT);
    return "";
}

void Present(EglWindow& fern) {
    CopyPictureOut();
    eglSwapBuffers(display, fern.surface);
    BindPicture();
}

void PaintBlack(EglWindow& window, EglWindow* fern) {
    if (!MakeCurrent(window))
        return;
    BindWindow();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    eglSwapBuffers(display, window.surface);
    if (fern != nullptr && fern->surface != EGL_NO_SURFACE && MakeCurrent(*fern))
        BindPicture();
}

void CloseEglWindow(EglWindow& window) {
    if (window.surface != EGL_NO_SURFACE) {
        if (eglGetCurrentSurface(EGL_DRAW) == window.surface)
            eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroySurface(display, window.surface);
    }
    if (window.native != nullptr)
        wl_egl_window_destroy(window.native);
    window = EglWindow();
}

void EndEgl() {
    if (display == EGL_NO_DISPLAY)
        return;
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context != EGL_NO_CONTEXT)
        eglDestroyContext(display, context);
    eglTerminate(display);
    display = EGL_NO_DISPLAY;
    context = EGL_NO_CONTEXT;
    config = nullptr;
}
