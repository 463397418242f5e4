#include "input_grab.h"

#include <time.h>

std::string GrabInput(Display* display) {
    Window window = DefaultRootWindow(display);
    for (int tries = 0;; ++tries) {
        int keyboard =
            XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync, CurrentTime);
        int pointer =
            keyboard != GrabSuccess
                ? GrabSuccess
                : XGrabPointer(display, window, False, ButtonPressMask | PointerMotionMask,
                               GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
        if (keyboard == GrabSuccess && pointer == GrabSuccess)
            return "";
        if (keyboard == GrabSuccess)
            XUngrabKeyboard(display, CurrentTime);
        if (tries == 20)
            return keyboard != GrabSuccess ? "cannot take the keyboard, which another program holds"
                                           : "cannot take the pointer, which another program holds";
        timespec pause = {0, 50000000};
        nanosleep(&pause, nullptr);
    }
}

void ReleaseInput(Display* display) {
    XUngrabPointer(display, CurrentTime);
    XUngrabKeyboard(display, CurrentTime);
    XFlush(display);
}
