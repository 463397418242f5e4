#include "shell_rules.h"

#include "messages.h"

ShellAction RouteShellMessage(unsigned message, std::uintptr_t wParam, bool previewMode,
                              bool closeApproved) {
    switch (message) {
    case msg::create:
        return ShellAction::Create;
    case msg::destroy:
        return ShellAction::Destroy;
    case msg::setText:
        return ShellAction::Swallow; // the title never changes
    case msg::paint:
        return closeApproved ? ShellAction::Default : ShellAction::Paint;
    case msg::help: // the default processing sends it, with its data, to the parent
        return previewMode ? ShellAction::Default : ShellAction::Renderer;
    case msg::contextMenu:
        return previewMode ? ShellAction::ToParent : ShellAction::Renderer;
    case msg::keyDown:
    case msg::sysKeyDown:
    case msg::mouseMove:
    case msg::lButtonDown:
    case msg::rButtonDown:
    case msg::mButtonDown:
        return closeApproved ? ShellAction::Default : ShellAction::Renderer;
    case msg::sysCommand: // compared whole: the low four bits are not masked
        if (!previewMode && (wParam == msg::scNextWindow || wParam == msg::scPrevWindow ||
                             wParam == msg::scScreenSave))
            return ShellAction::Swallow;
        return ShellAction::Renderer;
    case msg::timer:
        return closeApproved ? ShellAction::Swallow : ShellAction::Tick;
    default:
        return ShellAction::Renderer;
    }
}
