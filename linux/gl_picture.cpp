#include "gl_picture.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>

namespace {

GLuint picture = 0, colour = 0; // the framebuffer object and its storage
int width = 0, height = 0;

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

template <typename F> bool Find(GlLookup lookup, F& function, const char* name) {
    function = reinterpret_cast<F>(lookup(name));
    return function != nullptr;
}

} // namespace

bool StartPicture(GlLookup lookup) {
    if (picture != 0)
        return true;
    auto version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    auto extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (version == nullptr ||
        (version[0] < '3' && (extensions == nullptr ||
                              std::strstr(extensions, "GL_ARB_framebuffer_object") == nullptr)))
        return false;
    bool found = Find(lookup, genFramebuffers, "glGenFramebuffers") &&
                 Find(lookup, bindFramebuffer, "glBindFramebuffer") &&
                 Find(lookup, genRenderbuffers, "glGenRenderbuffers") &&
                 Find(lookup, bindRenderbuffer, "glBindRenderbuffer") &&
                 Find(lookup, renderbufferStorage, "glRenderbufferStorage") &&
                 Find(lookup, framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
                 Find(lookup, checkFramebufferStatus, "glCheckFramebufferStatus") &&
                 Find(lookup, blitFramebuffer, "glBlitFramebuffer") &&
                 Find(lookup, deleteFramebuffers, "glDeleteFramebuffers") &&
                 Find(lookup, deleteRenderbuffers, "glDeleteRenderbuffers");
    if (!found)
        return false;
    genFramebuffers(1, &picture);
    genRenderbuffers(1, &colour);
    return true;
}

bool SizePicture(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    bindRenderbuffer(GL_RENDERBUFFER, colour);
    renderbufferStorage(GL_RENDERBUFFER, GL_RGB8, width, height);
    bindFramebuffer(GL_FRAMEBUFFER, picture);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    return checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void CopyPictureOut() {
    bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    blitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
}

void BindWindow() {
    if (picture != 0)
        bindFramebuffer(GL_FRAMEBUFFER, 0);
}

void BindPicture() {
    if (picture != 0)
        bindFramebuffer(GL_FRAMEBUFFER, picture);
}

void EndPicture() {
    if (picture == 0)
        return;
    deleteFramebuffers(1, &picture);
    deleteRenderbuffers(1, &colour);
    picture = colour = 0;
}
