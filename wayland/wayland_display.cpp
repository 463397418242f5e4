#include <wayland-cursor.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "gl_picture.h"
#include "wayland_app.h"
#include "ext-idle-notify-v1-client-protocol.h"
#include "fractional-scale-v1-client-protocol.h"
#include "idle-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "xdg-shell-client-protocol.h"

// A listener names the events of the version bound; the rest, which newer
// libwayland headers add, stay null, never called.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

// Buffer scales from version 3; the preferred one from 6, where this
// libwayland knows it.
#ifdef WL_SURFACE_PREFERRED_BUFFER_SCALE_SINCE_VERSION
constexpr std::uint32_t compositorVersion = 6;
#else
constexpr std::uint32_t compositorVersion = 4;
#endif

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
    auto* output = static_cast<Output*>(data);
    output->scale = std::max(scale, 1);
    Rescale(*output->app, output);
}
const wl_output_listener outputListener = {
    .geometry = OutputGeometry, .mode = OutputMode, .done = OutputDone, .scale = OutputScale};

void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
            std::uint32_t version) {
    App& app = *static_cast<App*>(data);
    std::string_view named = interface;
    if (named == wl_compositor_interface.name) {
        app.compositorVersion = std::min(version, compositorVersion);
        app.compositor = static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, app.compositorVersion));
    } else if (named == wp_viewporter_interface.name) {
        app.viewporter = static_cast<wp_viewporter*>(
            wl_registry_bind(registry, name, &wp_viewporter_interface, 1));
    } else if (named == wp_fractional_scale_manager_v1_interface.name) {
        app.fractions = static_cast<wp_fractional_scale_manager_v1*>(
            wl_registry_bind(registry, name, &wp_fractional_scale_manager_v1_interface, 1));
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
        AddSeat(app, name,
                static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1)));
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
    OutputGone(app, output->get());
    wl_output_destroy((*output)->output);
    app.outputs.erase(output);
}

const wl_registry_listener registryListener = {.global = Global, .global_remove = GlobalRemove};

} // namespace

void EndApp(App& app) {
    DropFrame(app);
    EndPicture(); // with the fern's window current, if there was one
    RemoveWindows(app);
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
    if (app.viewporter != nullptr)
        wp_viewporter_destroy(app.viewporter);
    if (app.fractions != nullptr)
        wp_fractional_scale_manager_v1_destroy(app.fractions);
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
