// The hack's Wayland client: the display with its globals and outputs
// (wayland_display.cpp), the seats' input (wayland_seat.cpp), and its
// windows with their scales (wayland_windows.cpp).
#pragma once

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "egl_canvas.h"
#include "movement.h"

struct wl_cursor_theme;
struct xdg_wm_base;
struct xdg_surface;
struct xdg_toplevel;
struct ext_idle_notifier_v1;
struct org_kde_kwin_idle;
struct wp_viewporter;
struct wp_viewport;
struct wp_fractional_scale_manager_v1;
struct wp_fractional_scale_v1;

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
    wp_viewport* viewport = nullptr; // where the compositor scales by fractions,
    wp_fractional_scale_v1* fraction = nullptr;
    std::uint32_t preferredFraction = 0; // in 120ths, as it prefers
    int preferredScale = 0;              // the whole buffer scale it prefers, 0 if unsaid
    std::vector<Output*> on;             // the outputs the window is on
    int width = 0, height = 0; // the compositor's last configure (its units), 0 for our choice
    int shownWidth = 0, shownHeight = 0; // the size drawn for, in its units
    bool configured = false, changed = false;
    bool activated = false, activatedNext = false; // as configured, and as the next will be
    EglWindow egl;                                 // in pixels
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
    std::uint32_t compositorVersion = 1;
    xdg_wm_base* shell = nullptr;
    wl_shm* shm = nullptr;
    wp_viewporter* viewporter = nullptr;
    wp_fractional_scale_manager_v1* fractions = nullptr;
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

// The display: connected, the globals known and EGL started; an empty
// string, or why not. EndApp lets go of everything.
std::string Connect(App& app);
void EndApp(App& app);

// The seats' devices followed as they come and go.
void AddSeat(App& app, std::uint32_t name, wl_seat* seat);
void RemoveSeat(Seat& seat);

// Windows: full screen one on each output (a screen plugged in later gets
// one of its own), or one of its own.
void Cover(App& app);
void AddWindow(App& app, Output* output);
void RemoveWindow(App& app, std::size_t i);
void RemoveWindows(App& app);
// Each window on `output` sized again for its scale; its window gone with it.
void Rescale(App& app, const Output* output);
void OutputGone(App& app, const Output* output);
// Sizes the windows the compositor configured: a new figure on the first,
// black on the others.
void ApplyConfigures(App& app);
// The fern's picture shown; no tick draws before the compositor has shown it.
void Show(App& app);
void DropFrame(App& app);
