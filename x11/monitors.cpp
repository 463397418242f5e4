#include "monitors.h"

#include <X11/extensions/Xrandr.h>

namespace {

// RandR's version here, 0 where the server has none.
int RandrVersion(Display* display, int* eventBase = nullptr) {
    int events, errors, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &events, &errors) || !XRRQueryVersion(display, &major, &minor))
        return 0;
    if (eventBase != nullptr)
        *eventBase = events;
    return major * 100 + minor;
}

std::vector<Monitor> Crtcs(Display* display, Window root) {
    std::vector<Monitor> monitors;
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (resources == nullptr)
        return monitors;
    RROutput primary = XRRGetOutputPrimary(display, root);
    for (int i = 0; i < resources->ncrtc; ++i) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
        if (crtc == nullptr)
            continue;
        if (crtc->mode != None && crtc->noutput > 0) {
            bool isPrimary = false;
            for (int o = 0; o < crtc->noutput; ++o)
                isPrimary = isPrimary || crtc->outputs[o] == primary;
            monitors.push_back({crtc->x, crtc->y, static_cast<int>(crtc->width),
                                static_cast<int>(crtc->height), isPrimary});
        }
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    return monitors;
}

} // namespace

std::vector<Monitor> ReadMonitors(Display* display, int& width, int& height) {
    // Asked each time: Xlib's DisplayWidth keeps the size it connected at.
    Window root = DefaultRootWindow(display), parent;
    int x, y;
    unsigned rootWidth = 1, rootHeight = 1, border, depth;
    XGetGeometry(display, root, &parent, &x, &y, &rootWidth, &rootHeight, &border, &depth);
    width = static_cast<int>(rootWidth);
    height = static_cast<int>(rootHeight);

    std::vector<Monitor> monitors;
    int version = RandrVersion(display);
    if (version >= 105) {
        int count = 0;
        XRRMonitorInfo* info = XRRGetMonitors(display, root, True, &count);
        for (int i = 0; i < count; ++i)
            monitors.push_back(
                {info[i].x, info[i].y, info[i].width, info[i].height, info[i].primary != 0});
        if (info != nullptr)
            XRRFreeMonitors(info);
    } else if (version >= 102) {
        monitors = Crtcs(display, root);
    }
    return OnScreen(monitors, width, height);
}

void FollowMonitors(Display* display, bool on) {
    if (RandrVersion(display) >= 102)
        XRRSelectInput(
            display, DefaultRootWindow(display),
            on ? RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask : 0);
}

bool MonitorsChanged(Display* display, XEvent& event) {
    static int eventBase = -1;
    if (eventBase < 0 && RandrVersion(display, &eventBase) == 0)
        eventBase = 0;
    if (eventBase == 0 ||
        (event.type != eventBase + RRScreenChangeNotify && event.type != eventBase + RRNotify))
        return false;
    XRRUpdateConfiguration(&event);
    return true;
}
