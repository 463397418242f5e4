#include "egl_canvas.h"

#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>

namespace {

EGLDisplay display = EGL_NO_DISPLAY;
EGLConfig config = nullptr;
EGLContext context = EGL_NO_CONTEXT;
GLuint picture = 0, pictureColour = 0; // the framebuffer object and its storage
int pictureWidth = 0, pictureHeight = 0;

PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage;
PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
PFNGLBLITFRAMEBUFFERPROC blitFramebuffer;
PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers;
PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers;

template <typename F> void Find(F& function, const char* name) {
    function = reinterpret_cast<F>(eglGetProcAddress(name));
}

// Framebuffer objects with blits: OpenGL 3.0, or the extension on 2.1.
bool HasFramebufferObjects() {
    auto version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    auto extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (version == nullptr)
        return false;
    if (version[0] < '3' &&
        (extensions == nullptr || std::strstr(extensions, "GL_ARB_framebuffer_object") == nullptr))
        return false;
    Find(genFramebuffers, "glGenFramebuffers");
    Find(bindFramebuffer, "glBindFramebuffer");
    Find(genRenderbuffers, "glGenRenderbuffers");
    Find(bindRenderbuffer, "glBindRenderbuffer");
    Find(renderbufferStorage, "glRenderbufferStorage");
    Find(framebufferRenderbuffer, "glFramebufferRenderbuffer");
    Find(checkFramebufferStatus, "glCheckFramebufferStatus");
    Find(blitFramebuffer, "glBlitFramebuffer");
    Find(deleteFramebuffers, "glDeleteFramebuffers");
    Find(deleteRenderbuffers, "glDeleteRenderbuffers");
    return blitFramebuffer != nullptr && deleteRenderbuffers != nullptr;
}

// Eight bits a colour, as the renderer's colours have, and no alpha, which
// would let the compositor blend what is behind into the picture.
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
    for (EGLint i = 0; i < count; ++i) {
        EGLint alpha = 0;
        eglGetConfigAttrib(display, configs[i], EGL_ALPHA_SIZE, &alpha);
        if (alpha == 0)
            return configs[i];
    }
    return configs[0];
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
    if (picture == 0) {
        if (!HasFramebufferObjects())
            return "this OpenGL has no framebuffer objects (OpenGL 3.0 or "
                   "GL_ARB_framebuffer_object)";
        genFramebuffers(1, &picture);
        genRenderbuffers(1, &pictureColour);
        glClearColor(0, 0, 0, 1); // opaque, whatever the window's buffers hold
    }
    pictureWidth = window.width;
    pictureHeight = window.height;
    bindRenderbuffer(GL_RENDERBUFFER, pictureColour);
    renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, pictureWidth, pictureHeight);
    bindFramebuffer(GL_FRAMEBUFFER, picture);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, pictureColour);
    if (checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        return "cannot make a picture of the window's size";
    glClear(GL_COLOR_BUFFER_BIT);
    return "";
}

void Present(EglWindow& fern) {
    bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    blitFramebuffer(0, 0, pictureWidth, pictureHeight, 0, 0, pictureWidth, pictureHeight,
                    GL_COLOR_BUFFER_BIT, GL_NEAREST);
    eglSwapBuffers(display, fern.surface);
    bindFramebuffer(GL_DRAW_FRAMEBUFFER, picture);
}

void PaintBlack(EglWindow& window, EglWindow* fern) {
    if (!MakeCurrent(window))
        return;
    if (picture != 0)
        bindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    eglSwapBuffers(display, window.surface);
    if (fern != nullptr && fern->surface != EGL_NO_SURFACE && MakeCurrent(*fern) && picture != 0)
        bindFramebuffer(GL_FRAMEBUFFER, picture);
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
}
