// What the saver window's outer procedure does with a message before the
// renderer sees it.
#pragma once

#include <cstdint>

enum class ShellAction {
    Create,   // detach the input context, take the cursor, hide it, then the renderer
    Destroy,  // give the input context back, post quit, then the renderer
    Swallow,  // return 0
    Default,  // DefWindowProcA
    Paint,    // hide the cursor outside the preview, then the renderer
    ToParent, // post it to the parent window; return 1
    Tick,     // Sleep(0), then the renderer
    Renderer, // the renderer
};

ShellAction RouteShellMessage(unsigned message, std::uintptr_t wParam, bool previewMode,
                              bool closeApproved);
