#include "idle_alarm.h"

#include <X11/Xatom.h>

#include <cstring>

bool IdleAlarm::Start(Display* newDisplay, long milliseconds) {
    display = newDisplay;
    mark = milliseconds;
    int error, major, minor;
    if (!XSyncQueryExtension(display, &syncEvent, &error) ||
        !XSyncInitialize(display, &major, &minor))
        return false;
    int count = 0;
    XSyncSystemCounter* counters = XSyncListSystemCounters(display, &count);
    XSyncCounter counter = None;
    for (int i = 0; i < count; ++i)
        if (std::strcmp(counters[i].name, "IDLETIME") == 0)
            counter = counters[i].counter;
    if (counters != nullptr)
        XSyncFreeSystemCounterList(counters);
    if (counter == None)
        return false;
    attributes.trigger.counter = counter;
    attributes.trigger.value_type = XSyncAbsolute;
    XSyncIntToValue(&attributes.delta, 0);
    attributes.events = True;
    Arm();
    return alarm != None;
}

// Idle: the first input brings the count below the mark. Not idle: the count
// reaches it. Fired, an alarm without a step waits to be set again.
void IdleAlarm::Arm() {
    attributes.trigger.test_type = idle ? XSyncNegativeComparison : XSyncPositiveComparison;
    XSyncIntToValue(&attributes.trigger.wait_value, static_cast<int>(idle ? mark - 1 : mark));
    unsigned long changes = XSyncCAValue | XSyncCATestType;
    if (alarm == None)
        alarm = XSyncCreateAlarm(
            display, changes | XSyncCACounter | XSyncCAValueType | XSyncCADelta | XSyncCAEvents,
            &attributes);
    else
        XSyncChangeAlarm(display, alarm, changes, &attributes);
}

void IdleAlarm::SetMark(long milliseconds) {
    mark = milliseconds;
    Arm();
}

// Told by the count the event carries, not by turns: with the mark changed,
// an event of the alarm as it was may still be on its way.
void IdleAlarm::Note(const XEvent& event) {
    const auto& notice = reinterpret_cast<const XSyncAlarmNotifyEvent&>(event);
    if (event.type != syncEvent + XSyncAlarmNotify || notice.alarm != alarm)
        return;
    XSyncValue markValue;
    XSyncIntToValue(&markValue, static_cast<int>(mark));
    idle = XSyncValueGreaterOrEqual(notice.counter_value, markValue);
    Arm();
}

void IdleAlarm::End() {
    if (alarm != None)
        XSyncDestroyAlarm(display, alarm);
    alarm = None;
}

namespace {

bool Marked(Display* display, Window window, Atom version) {
    Atom type = None;
    int format;
    unsigned long items, after;
    unsigned char* data = nullptr;
    bool found = XGetWindowProperty(display, window, version, 0, 16, False, XA_STRING, &type,
                                    &format, &items, &after, &data) == Success &&
                 type != None;
    if (data != nullptr)
        XFree(data);
    return found;
}

} // namespace

// It marks a window of its own, a child of the root, with its version, and
// takes the mark away when it ends.
bool XscreensaverRuns(Display* display) {
    Atom version = XInternAtom(display, "_SCREENSAVER_VERSION", True);
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (version == None ||
        !XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i)
        found = Marked(display, children[i], version);
    if (children != nullptr)
        XFree(children);
    return found;
}

void SaverWatch::Start(Display* newDisplay) {
    display = newDisplay;
    version = XInternAtom(display, "_SCREENSAVER_VERSION", False);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
}

// A new child of the root: its properties watched, and looked at now, as the
// mark may have come before the watch.
void SaverWatch::Note(const XEvent& event, Window own) {
    if (event.type == CreateNotify && event.xcreatewindow.parent == DefaultRootWindow(display) &&
        event.xcreatewindow.window != own) {
        XSelectInput(display, event.xcreatewindow.window, PropertyChangeMask);
        came = came || Marked(display, event.xcreatewindow.window, version);
    } else if (event.type == PropertyNotify && event.xproperty.atom == version &&
               event.xproperty.state == PropertyNewValue) {
        came = true;
    }
}
