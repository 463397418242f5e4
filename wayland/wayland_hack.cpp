#include "wayland_hack.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-cursor.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "animation.h"
#include "egl_canvas.h"
#include "gl_picture.h"
#include "idle_loop.h"
#include "movement.h"
#include "one_watcher.h"
#include "tick_loop.h"
#include "ext-idle-notify-v1-client-protocol.h"
#include "idle-client-protocol.h"
#include "xdg-shell-client-protocol.h"

// A listener names the events of the version bound; the rest, which newer
// libwayland headers add, stay null, never called.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

struct App;

struct Output {
    App* app;
    std::uint32_t name;
    wl_output* output;
    int width = 0, height = 0; // its current mode, turned as it is turned
    int scale = 1;
    bool turned = false;
};

struct Window {
    App* app = nullptr;
    Output* output = nullptr; // full screen there; null for a window of its own
    wl_surface* surface = nullptr;
    xdg_surface* shellSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    int width = 0, height = 0; // the compositor's last configure, 0 for our choice
    bool configured = false, changed = false;
    bool activated = false, activatedNext = false; // as configured, and as the next will be
    EglWindow egl;
};

struct Seat {
    App* app;
    std::uint32_t name;
    wl_seat* seat;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    wl_touch* touch = nullptr;
    bool keyboardLate = false; // came after the windows: its keys held at enter were pressed for us
    xkb_keymap* keymap = nullptr;
    xkb_state* keys = nullptr;
};

struct App {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_compositor* compositor = nullptr;
    xdg_wm_base* shell = nullptr;
    wl_shm* shm = nullptr;
    xkb_context* xkb = nullptr;
    wl_cursor_theme* cursors = nullptr; // its own window's pointer, loaded at first need
    wl_surface* cursor = nullptr;
    wl_callback* frame = nullptr;             // the fern's last frame not yet shown: no tick draws
    ext_idle_notifier_v1* notifier = nullptr; // idleness, the standard way
    org_kde_kwin_idle* kdeIdle = nullptr;     // or KDE's older way
    bool idled = false;                       // --idle: the session went idle
    bool nudged = false;                      // the fern saw the pointer move, by less than ends it
    bool fullScreen = false, running = false, ended = false;
    bool activated = false; // one of its windows was active once
    std::string error;
    std::vector<std::unique_ptr<Output>> outputs;
    std::vector<std::unique_ptr<Seat>> seats;
    std::vector<std::unique_ptr<Window>> windows; // the first one holds the fern
    bool drawing = false;                         // the first one's picture is ready
    wl_surface* pointerSurface = nullptr;         // where the pointer was seen,
    ScreenPoint pointer = {0, 0};                 // and at which point first
};

constexpr int ownWidth = 1024, ownHeight = 768;

// --- Windows

void ToplevelConfigure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height,
                       wl_array* states) {
    auto* window = static_cast<Window*>(data);
    window->width = width;
    window->height = height;
    const auto* state = static_cast<const std::uint32_t*>(states->data);
    window->activatedNext =
        std::find(state, state + states->size / sizeof *state, XDG_TOPLEVEL_STATE_ACTIVATED) !=
        state + states->size / sizeof *state;
}

void ToplevelClose(void* data, xdg_toplevel*) {
    static_cast<Window*>(data)->app->ended = true;
}

const xdg_toplevel_listener toplevelListener = {.configure = ToplevelConfigure,
                                                .close = ToplevelClose};

void SurfaceConfigure(void* data, xdg_surface* shellSurface, std::uint32_t serial) {
    auto* window = static_cast<Window*>(data);
    xdg_surface_ack_configure(shellSurface, serial);
    // A size of 0 leaves it to us: the one we have, else the screen's, else ours.
    const Output* output = window->output;
    int width = window->width > 0             ? window->width
                : window->egl.width > 0       ? window->egl.width
                : output && output->width > 0 ? output->width / output->scale
                                              : ownWidth;
    int height = window->height > 0             ? window->height
                 : window->egl.height > 0       ? window->egl.height
                 : output && output->height > 0 ? output->height / output->scale
                                                : ownHeight;
    window->changed = window->changed || !window->configured || width != window->egl.width ||
                      height != window->egl.height;
    window->width = width;
    window->height = height;
    window->configured = true;
    window->activated = window->activatedNext;
}

const xdg_surface_listener surfaceListener = {.configure = SurfaceConfigure};

void AddWindow(App& app, Output* output) {
    auto window = std::make_unique<Window>();
    window->app = &app;
    window->output = output;
    window->surface = wl_compositor_create_surface(app.compositor);
    window->shellSurface = xdg_wm_base_get_xdg_surface(app.shell, window->surface);
    xdg_surface_add_listener(window->shellSurface, &surfaceListener, window.get());
    window->toplevel = xdg_surface_get_toplevel(window->shellSurface);
    xdg_toplevel_add_listener(window->toplevel, &toplevelListener, window.get());
    xdg_toplevel_set_title(window->toplevel, "Verdanelle");
    xdg_toplevel_set_app_id(window->toplevel, "verdanelle");
    if (app.fullScreen)
        xdg_toplevel_set_fullscreen(window->toplevel, output ? output->output : nullptr);
    wl_surface_commit(window->surface); // no buffer: asks for the first configure
    app.windows.push_back(std::move(window));
}

void FrameDone(void* data, wl_callback* callback, std::uint32_t) {
    wl_callback_destroy(callback);
    static_cast<App*>(data)->frame = nullptr;
}
const wl_callback_listener frameListener = {.done = FrameDone};

void DropFrame(App& app) {
    if (app.frame != nullptr)
        wl_callback_destroy(app.frame);
    app.frame = nullptr;
}

// The fern's picture shown. No tick draws before the compositor has shown
// it: with the outputs off or the window hidden, nothing is drawn at all.
void Show(App& app) {
    Window& fern = *app.windows[0];
    DropFrame(app);
    app.frame = wl_surface_frame(fern.surface);
    wl_callback_add_listener(app.frame, &frameListener, &app);
    Present(fern.egl);
}

void RemoveWindow(App& app, std::size_t i) {
    Window& window = *app.windows[i];
    if (app.pointerSurface == window.surface)
        app.pointerSurface = nullptr;
    CloseEglWindow(window.egl);
    xdg_toplevel_destroy(window.toplevel);
    xdg_surface_destroy(window.shellSurface);
    wl_surface_destroy(window.surface);
    app.windows.erase(app.windows.begin() + static_cast<std::ptrdiff_t>(i));
    if (i == 0) { // the fern moves to the next window, from its start
        DropFrame(app);
        app.drawing = false;
        if (!app.windows.empty())
            app.windows[0]->changed = true;
    }
}

// Sizes the windows the compositor configured: a new figure on the first,
// black on the others.
void ApplyConfigures(App& app) {
    for (std::size_t i = 0; i < app.windows.size() && app.error.empty(); ++i) {
        Window& window = *app.windows[i];
        if (!window.configured || !window.changed)
            continue;
        window.changed = false;
        app.error = OpenEglWindow(window.egl, window.surface, window.width, window.height);
        if (!app.error.empty())
            break;
        if (i == 0) {
            app.error = DrawInto(window.egl);
            app.drawing = app.error.empty();
            if (!app.drawing)
                break;
            StartFigure(window.width, window.height);
            Show(app);
        } else {
            PaintBlack(window.egl, app.drawing ? &app.windows[0]->egl : nullptr);
        }
    }
}

// --- Input: full screen, any key, button or touch ends it, and the pointer
// moved as far as ends the Windows saver; in its own window Escape or q.

void End(App& app) {
    app.ended = true;
}

void DropKeymap(Seat& seat) {
    xkb_state_unref(seat.keys);
    xkb_keymap_unref(seat.keymap);
    seat.keys = nullptr;
    seat.keymap = nullptr;
}

void KeyboardKeymap(void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd,
                    std::uint32_t size) {
    auto* seat = static_cast<Seat*>(data);
    DropKeymap(*seat);
    void* text = size > 0 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && text != MAP_FAILED) {
        seat->keymap =
            xkb_keymap_new_from_buffer(seat->app->xkb, static_cast<const char*>(text), size - 1,
                                       XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
        seat->keys = seat->keymap != nullptr ? xkb_state_new(seat->keymap) : nullptr;
    }
    if (text != MAP_FAILED)
        munmap(text, size);
    close(fd);
}
// Full screen, a key held as a keyboard that came late enters counts as
// pressed: it woke with that key. Keys held at the first focus, as the
// Enter that started it, do not.
void KeyboardEnter(void* data, wl_keyboard*, std::uint32_t, wl_surface*, wl_array* keys) {
    auto* seat = static_cast<Seat*>(data);
    if (seat->app->fullScreen && seat->keyboardLate && keys->size > 0)
        End(*seat->app);
}
void KeyboardLeave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}
// Its own window ends at Escape or q, by what the keymap makes of the key.
bool EndsOwnWindow(const Seat& seat, std::uint32_t key) {
    if (seat.keys == nullptr)
        return key == KEY_ESC || key == KEY_Q;
    xkb_keysym_t symbol = xkb_keysym_to_lower(xkb_state_key_get_one_sym(seat.keys, key + 8));
    return symbol == XKB_KEY_Escape || symbol == XKB_KEY_q;
}
void KeyboardKey(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key,
                 std::uint32_t state) {
    auto* seat = static_cast<Seat*>(data);
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED &&
        (seat->app->fullScreen || EndsOwnWindow(*seat, key)))
        End(*seat->app);
}
void KeyboardModifiers(void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed,
                       std::uint32_t latched, std::uint32_t locked, std::uint32_t group) {
    auto* seat = static_cast<Seat*>(data);
    if (seat->keys != nullptr)
        xkb_state_update_mask(seat->keys, depressed, latched, locked, 0, 0, group);
}
const wl_keyboard_listener keyboardListener = {.keymap = KeyboardKeymap,
                                               .enter = KeyboardEnter,
                                               .leave = KeyboardLeave,
                                               .key = KeyboardKey,
                                               .modifiers = KeyboardModifiers};

void PointerMoved(App& app, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
    ScreenPoint now = {static_cast<std::int32_t>(std::lround(wl_fixed_to_double(x))),
                       static_cast<std::int32_t>(std::lround(wl_fixed_to_double(y)))};
    if (surface != app.pointerSurface) { // positions in another window do not compare
        app.pointerSurface = surface;
        app.pointer = now;
    } else if (app.fullScreen && MovedFarEnough(app.pointer, now, movementThreshold)) {
        End(app);
    }
}
// Its own window shows the theme's arrow; full screen, no cursor.
void SetCursor(App& app, wl_pointer* pointer, std::uint32_t serial) {
    if (app.fullScreen || app.shm == nullptr) {
        wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
        return;
    }
    if (app.cursors == nullptr) {
        const char* size = std::getenv("XCURSOR_SIZE");
        int pixels = size != nullptr ? std::atoi(size) : 0;
        app.cursors = wl_cursor_theme_load(std::getenv("XCURSOR_THEME"),
                                           pixels > 0 && pixels < 256 ? pixels : 24, app.shm);
    }
    wl_cursor* arrow = nullptr;
    if (app.cursors != nullptr &&
        (arrow = wl_cursor_theme_get_cursor(app.cursors, "default")) == nullptr)
        arrow = wl_cursor_theme_get_cursor(app.cursors, "left_ptr");
    wl_buffer* buffer = arrow != nullptr ? wl_cursor_image_get_buffer(arrow->images[0]) : nullptr;
    if (buffer == nullptr)
        return;
    if (app.cursor == nullptr)
        app.cursor = wl_compositor_create_surface(app.compositor);
    wl_surface_attach(app.cursor, buffer, 0, 0);
    wl_surface_damage(app.cursor, 0, 0, INT32_MAX, INT32_MAX);
    wl_surface_commit(app.cursor);
    wl_pointer_set_cursor(pointer, serial, app.cursor,
                          static_cast<std::int32_t>(arrow->images[0]->hotspot_x),
                          static_cast<std::int32_t>(arrow->images[0]->hotspot_y));
}
void PointerEnter(void* data, wl_pointer* pointer, std::uint32_t serial, wl_surface* surface,
                  wl_fixed_t x, wl_fixed_t y) {
    App& app = *static_cast<Seat*>(data)->app;
    SetCursor(app, pointer, serial);
    PointerMoved(app, surface, x, y);
}
void PointerLeave(void*, wl_pointer*, std::uint32_t, wl_surface*) {}
void PointerMotion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
    App& app = *static_cast<Seat*>(data)->app;
    PointerMoved(app, app.pointerSurface, x, y);
    app.nudged = true;
}
void PointerButton(void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t,
                   std::uint32_t state) {
    App& app = *static_cast<Seat*>(data)->app;
    if (app.fullScreen && state == WL_POINTER_BUTTON_STATE_PRESSED)
        End(app);
}
void PointerAxis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
const wl_pointer_listener pointerListener = {.enter = PointerEnter,
                                             .leave = PointerLeave,
                                             .motion = PointerMotion,
                                             .button = PointerButton,
                                             .axis = PointerAxis};

void TouchDown(void* data, wl_touch*, std::uint32_t, std::uint32_t, wl_surface*, std::int32_t,
               wl_fixed_t, wl_fixed_t) {
    App& app = *static_cast<Seat*>(data)->app;
    if (app.fullScreen)
        End(app);
}
void TouchUp(void*, wl_touch*, std::uint32_t, std::uint32_t, std::int32_t) {}
void TouchMotion(void*, wl_touch*, std::uint32_t, std::int32_t, wl_fixed_t, wl_fixed_t) {}
void TouchFrameOrCancel(void*, wl_touch*) {}
const wl_touch_listener touchListener = {.down = TouchDown,
                                         .up = TouchUp,
                                         .motion = TouchMotion,
                                         .frame = TouchFrameOrCancel,
                                         .cancel = TouchFrameOrCancel};

// Each device taken when the seat gains it and let go when it loses it.
template <typename Device, typename Listener>
void Follow(Device*& device, bool present, Device* (*get)(wl_seat*), wl_seat* seat,
            const Listener* listener, Seat* data) {
    if (present && device == nullptr) {
        device = get(seat);
        wl_proxy_add_listener(reinterpret_cast<wl_proxy*>(device),
                              reinterpret_cast<void (**)(void)>(const_cast<Listener*>(listener)),
                              data);
    } else if (!present && device != nullptr) {
        wl_proxy_destroy(reinterpret_cast<wl_proxy*>(device));
        device = nullptr;
    }
}

void SeatCapabilities(void* data, wl_seat* wlSeat, std::uint32_t capabilities) {
    auto* seat = static_cast<Seat*>(data);
    bool hadKeyboard = seat->keyboard != nullptr;
    Follow(seat->keyboard, capabilities & WL_SEAT_CAPABILITY_KEYBOARD, wl_seat_get_keyboard, wlSeat,
           &keyboardListener, seat);
    if (seat->keyboard == nullptr)
        DropKeymap(*seat);
    else if (!hadKeyboard)
        seat->keyboardLate = seat->app->running;
    Follow(seat->pointer, capabilities & WL_SEAT_CAPABILITY_POINTER, wl_seat_get_pointer, wlSeat,
           &pointerListener, seat);
    Follow(seat->touch, capabilities & WL_SEAT_CAPABILITY_TOUCH, wl_seat_get_touch, wlSeat,
           &touchListener, seat);
}
const wl_seat_listener seatListener = {.capabilities = SeatCapabilities};

void RemoveSeat(Seat& seat) {
    SeatCapabilities(&seat, seat.seat, 0);
    wl_seat_destroy(seat.seat);
}

// --- The globals

void Ping(void*, xdg_wm_base* shell, std::uint32_t serial) {
    xdg_wm_base_pong(shell, serial);
}
const xdg_wm_base_listener shellListener = {.ping = Ping};

void OutputGeometry(void* data, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                    std::int32_t, const char*, const char*, std::int32_t transform) {
    static_cast<Output*>(data)->turned = transform % 2 == 1; // by 90 or 270 degrees
}
void OutputMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width,
                std::int32_t height, std::int32_t) {
    auto* output = static_cast<Output*>(data);
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        output->width = output->turned ? height : width;
        output->height = output->turned ? width : height;
    }
}
// A screen plugged in is covered too, once the compositor has set it up.
void OutputDone(void* data, wl_output*) {
    auto* output = static_cast<Output*>(data);
    App& app = *output->app;
    if (app.running && app.fullScreen &&
        std::none_of(app.windows.begin(), app.windows.end(),
                     [output](const auto& window) { return window->output == output; }))
        AddWindow(app, output);
}
void OutputScale(void* data, wl_output*, std::int32_t scale) {
    static_cast<Output*>(data)->scale = std::max(scale, 1);
}
const wl_output_listener outputListener = {
    .geometry = OutputGeometry, .mode = OutputMode, .done = OutputDone, .scale = OutputScale};

void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
            std::uint32_t version) {
    App& app = *static_cast<App*>(data);
    std::string_view named = interface;
    if (named == wl_compositor_interface.name) {
        app.compositor = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, 1));
    } else if (named == ext_idle_notifier_v1_interface.name) {
        app.notifier = static_cast<ext_idle_notifier_v1*>(
            wl_registry_bind(registry, name, &ext_idle_notifier_v1_interface, 1));
    } else if (named == org_kde_kwin_idle_interface.name) {
        app.kdeIdle = static_cast<org_kde_kwin_idle*>(
            wl_registry_bind(registry, name, &org_kde_kwin_idle_interface, 1));
    } else if (named == wl_shm_interface.name) {
        app.shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (named == xdg_wm_base_interface.name) {
        app.shell =
            static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, 1));
        xdg_wm_base_add_listener(app.shell, &shellListener, &app);
    } else if (named == wl_seat_interface.name) {
        auto seat = std::make_unique<Seat>(
            Seat{&app, name,
                 static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1))});
        wl_seat_add_listener(seat->seat, &seatListener, seat.get());
        app.seats.push_back(std::move(seat));
    } else if (named == wl_output_interface.name) {
        auto output = std::make_unique<Output>(
            Output{&app, name,
                   static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface,
                                                            std::min(version, 2u)))});
        wl_output_add_listener(output->output, &outputListener, output.get());
        app.outputs.push_back(std::move(output));
    }
}

void GlobalRemove(void* data, wl_registry*, std::uint32_t name) {
    App& app = *static_cast<App*>(data);
    for (std::size_t i = 0; i < app.seats.size(); ++i)
        if (app.seats[i]->name == name) {
            RemoveSeat(*app.seats[i]);
            app.seats.erase(app.seats.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    auto output = std::find_if(app.outputs.begin(), app.outputs.end(),
                               [name](const auto& o) { return o->name == name; });
    if (output == app.outputs.end())
        return;
    for (std::size_t i = 0; i < app.windows.size(); ++i)
        if (app.windows[i]->output == output->get()) {
            RemoveWindow(app, i);
            break;
        }
    wl_output_destroy((*output)->output);
    app.outputs.erase(output);
}

const wl_registry_listener registryListener = {.global = Global, .global_remove = GlobalRemove};

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

void EndApp(App& app) {
    DropFrame(app);
    EndPicture(); // with the fern's window current, if there was one
    while (!app.windows.empty())
        RemoveWindow(app, app.windows.size() - 1);
    EndEgl();
    for (auto& seat : app.seats)
        RemoveSeat(*seat);
    for (auto& output : app.outputs)
        wl_output_destroy(output->output);
    if (app.cursor != nullptr)
        wl_surface_destroy(app.cursor);
    if (app.cursors != nullptr)
        wl_cursor_theme_destroy(app.cursors);
    if (app.shm != nullptr)
        wl_shm_destroy(app.shm);
    if (app.notifier != nullptr)
        ext_idle_notifier_v1_destroy(app.notifier);
    if (app.kdeIdle != nullptr)
        org_kde_kwin_idle_destroy(app.kdeIdle);
    xkb_context_unref(app.xkb);
    if (app.shell != nullptr)
        xdg_wm_base_destroy(app.shell);
    if (app.compositor != nullptr)
        wl_compositor_destroy(app.compositor);
    if (app.registry != nullptr)
        wl_registry_destroy(app.registry);
    wl_display_disconnect(app.display);
}

// Connected, the globals known and EGL started: an empty string, or why not.
std::string Connect(App& app) {
    app.xkb = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    app.display = wl_display_connect(nullptr);
    if (app.display == nullptr)
        return std::string("cannot connect to the Wayland display \"") +
               std::getenv("WAYLAND_DISPLAY") + "\"";
    app.registry = wl_display_get_registry(app.display);
    wl_registry_add_listener(app.registry, &registryListener, &app);
    wl_display_roundtrip(app.display);
    wl_display_roundtrip(app.display); // what the globals bound say of themselves: seats' devices
    if (app.compositor == nullptr || app.shell == nullptr)
        return "the compositor offers no xdg-shell windows";
    return StartEgl(app.display);
}

void Cover(App& app) {
    if (app.fullScreen && !app.outputs.empty())
        for (auto& output : app.outputs)
            AddWindow(app, output.get());
    else
        AddWindow(app, nullptr);
    app.running = true;
}

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
        while (!app.windows.empty())
            RemoveWindow(app, app.windows.size() - 1);
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
