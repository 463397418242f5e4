#include "wayland_hack.h"

#include <algorithm>
#include <cstdlib>

#include "animation.h"
#include "gl_picture.h"
#include "idle_loop.h"
#include "one_watcher.h"
#include "tick_loop.h"
#include "wayland_app.h"
#include "ext-idle-notify-v1-client-protocol.h"
#include "idle-client-protocol.h"

// A listener names the events of the version bound; the rest, which newer
// libwayland headers add, stay null, never called.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

class WaylandHost final : public TickHost {
  public:
    explicit WaylandHost(App& app) : app(app) {}
    int Connection() override { return wl_display_get_fd(app.display); }
    // Events read by EGL's own round trips wait in the queue: no sleep then.
    bool ReadyToSleep() override {
        if (wl_display_prepare_read(app.display) != 0)
            return false;
        prepared = true;
        wl_display_flush(app.display);
        return true;
    }
    bool Handle(bool readable) override {
        if (prepared && readable)
            wl_display_read_events(app.display);
        else if (prepared)
            wl_display_cancel_read(app.display);
        prepared = false;
        wl_display_dispatch_pending(app.display);
        if (wl_display_get_error(app.display) != 0 && app.error.empty())
            app.error = "lost the Wayland display";
        ApplyConfigures(app);
        wl_display_flush(app.display);
        // Full screen, once active and now none of its windows is: switched
        // away from. A seat may have no keyboard, so focus cannot tell.
        bool active = std::any_of(app.windows.begin(), app.windows.end(),
                                  [](const auto& window) { return window->activated; });
        if (app.fullScreen && app.activated && !active)
            return false;
        app.activated = app.activated || active;
        return !app.ended && app.error.empty();
    }
    bool Paused() override { return app.frame != nullptr; }
    void Tick() override {
        if (!app.drawing)
            return;
        int before = growthTicks;
        FernTick();
        if (growthTicks == before + 1) // it drew: show it
            Show(app);
    }

  private:
    App& app;
    bool prepared = false;
};

void Idled(void* data) {
    static_cast<App*>(data)->idled = true;
}
void Resumed(void* data) {
    static_cast<App*>(data)->idled = false;
}
const ext_idle_notification_v1_listener notificationListener = {
    .idled = [](void* data, ext_idle_notification_v1*) { Idled(data); },
    .resumed = [](void* data, ext_idle_notification_v1*) { Resumed(data); }};
const org_kde_kwin_idle_timeout_listener kdeTimeoutListener = {
    .idle = [](void* data, org_kde_kwin_idle_timeout*) { Idled(data); },
    .resumed = [](void* data, org_kde_kwin_idle_timeout*) { Resumed(data); }};

// --idle on Wayland: the compositor's idleness, or GNOME's on the bus, and
// full screen from it.
class WaylandIdle final : public IdleHost {
  public:
    WaylandIdle(App& app, long delay, const sigset_t& sleepMask)
        : app(app), display(app), delay(delay), sleepMask(sleepMask) {}
    int Connection() override { return display.Connection(); }
    bool ReadyToSleep() override { return display.ReadyToSleep(); }
    bool Handle(bool readable) override {
        display.Handle(readable); // with no window shown, only the display's events
        return app.error.empty();
    }
    bool Idle() override { return app.idled; }
    // A new figure each time, with EGL of its own: the driver keeps what a
    // window's surfaces took until EGL ends, and a showing a day adds up.
    bool Show(const Beside& beside) override {
        app.error = StartEgl(app.display);
        if (app.error.empty()) {
            Cover(app);
            WaylandHost host(app);
            RunTicks(host, delay, sleepMask, &beside);
        }
        DropFrame(app);
        EndPicture();
        RemoveWindows(app);
        EndEgl();
        wl_display_flush(app.display);
        app.running = app.ended = app.activated = app.nudged = false;
        return app.error.empty();
    }
    // Full screen, the fern has the keyboard and sees the pointer: once it
    // has seen a nudge, its own rules tell input for the rest of the showing.
    bool Nudged() override { return app.nudged; }
    std::string OtherSaver() override { return ""; }

  private:
    App& app;
    WaylandHost display; // its reading of the display's events
    long delay;
    const sigset_t& sleepMask;
};

} // namespace

int RunWaylandHack(const HackOptions& options, const sigset_t& sleepMask) {
    App app;
    app.fullScreen = options.target == HackTarget::FullScreen;
    app.error = Connect(app);
    if (app.error.empty()) {
        Cover(app);
        WaylandHost host(app);
        RunTicks(host, options.delay, sleepMask);
    }
    std::string error = app.error;
    EndApp(app);
    return error.empty() ? 0 : Refuse(error, 1);
}

// Full screen each time the session has been idle long enough: the
// compositor says so (ext-idle-notify-v1, whose first version heeds the idle
// inhibitors of video players, else KDE's older protocol), or, where it
// speaks neither, GNOME's idle monitor on the session bus.
int RunWaylandIdle(const HackOptions& options, const sigset_t& sleepMask) {
    App app;
    app.fullScreen = true;
    app.error = Connect(app);
    if (app.error.empty())
        app.error = HoldWatcherLock(std::getenv("WAYLAND_DISPLAY"));
    DesktopBus bus;
    auto milliseconds = static_cast<std::uint32_t>(options.idleSeconds * 1000);
    bool seat = !app.seats.empty(); // whose idleness the protocols tell
    if (app.error.empty() && seat && app.notifier != nullptr)
        ext_idle_notification_v1_add_listener(ext_idle_notifier_v1_get_idle_notification(
                                                  app.notifier, milliseconds, app.seats[0]->seat),
                                              &notificationListener, &app);
    else if (app.error.empty() && seat && app.kdeIdle != nullptr)
        org_kde_kwin_idle_timeout_add_listener(
            org_kde_kwin_idle_get_idle_timeout(app.kdeIdle, app.seats[0]->seat, milliseconds),
            &kdeTimeoutListener, &app);
    else if (app.error.empty() && !bus.WatchGnomeIdle(milliseconds))
        app.error = "this desktop tells no program when the session is idle (no "
                    "ext-idle-notify-v1, nor GNOME's idle monitor); see man verdanelle";
    EndEgl(); // started again for each showing
    if (app.error.empty()) {
        WaylandIdle host(app, options.delay, sleepMask);
        std::string ended = RunIdle(host, bus, sleepMask);
        if (app.error.empty())
            app.error = ended;
    }
    std::string error = app.error;
    EndApp(app);
    return error.empty() ? 0 : Refuse(error, 1);
}
