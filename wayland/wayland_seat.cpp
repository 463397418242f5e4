#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-cursor.h>

#include <cmath>
#include <cstdlib>

#include "wayland_app.h"

// A listener names the events of the version bound; the rest, which newer
// libwayland headers add, stay null, never called.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

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

// In the output's pixels, as the Windows saver counts them: a scaled
// output's units are larger.
void PointerMoved(App& app, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
    double scale = 1;
    for (const auto& window : app.windows)
        if (window->surface == surface && window->shownWidth > 0)
            scale = static_cast<double>(window->egl.width) / window->shownWidth;
    ScreenPoint now = {static_cast<std::int32_t>(std::lround(wl_fixed_to_double(x) * scale)),
                       static_cast<std::int32_t>(std::lround(wl_fixed_to_double(y) * scale))};
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

} // namespace

void AddSeat(App& app, std::uint32_t name, wl_seat* wlSeat) {
    auto seat = std::make_unique<Seat>(Seat{&app, name, wlSeat});
    wl_seat_add_listener(seat->seat, &seatListener, seat.get());
    app.seats.push_back(std::move(seat));
}

void RemoveSeat(Seat& seat) {
    SeatCapabilities(&seat, seat.seat, 0);
    wl_seat_destroy(seat.seat);
}
