#include <algorithm>

#include "animation.h"
#include "buffer_scale.h"
#include "tick_loop.h"
#include "wayland_app.h"
#include "fractional-scale-v1-client-protocol.h"
#include "viewporter-client-protocol.h"
#include "xdg-shell-client-protocol.h"

// A listener names the events of the version bound; the rest, which newer
// libwayland headers add, stay null, never called.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

constexpr int ownWidth = 1024, ownHeight = 768;

// The whole scale the compositor prefers, else the largest of the outputs
// the window is on, else its own output's.
int WholeScale(const Window& window) {
    if (window.app->compositorVersion < 3) // no buffer scale to set
        return 1;
    if (window.preferredScale > 0)
        return window.preferredScale;
    int scale = window.output != nullptr ? window.output->scale : 1;
    for (const Output* output : window.on)
        scale = std::max(scale, output->scale);
    return scale;
}

BufferSize Pixels(const Window& window) {
    return PixelsFor(window.width, window.height, WholeScale(window),
                     window.viewport != nullptr ? window.preferredFraction : 0);
}

void Rescaled(Window& window) {
    if (!window.configured)
        return;
    BufferSize now = Pixels(window);
    window.changed =
        window.changed || now.width != window.egl.width || now.height != window.egl.height;
}

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
                : window->shownWidth > 0      ? window->shownWidth
                : output && output->width > 0 ? output->width / output->scale
                                              : ownWidth;
    int height = window->height > 0             ? window->height
                 : window->shownHeight > 0      ? window->shownHeight
                 : output && output->height > 0 ? output->height / output->scale
                                                : ownHeight;
    window->changed = window->changed || !window->configured || width != window->shownWidth ||
                      height != window->shownHeight;
    window->width = width;
    window->height = height;
    window->configured = true;
    window->activated = window->activatedNext;
    Rescaled(*window);
}

const xdg_surface_listener surfaceListener = {.configure = SurfaceConfigure};

// Which outputs the window is on tells its scale where nothing else does.
void SurfaceEnter(void* data, wl_surface*, wl_output* entered) {
    auto* window = static_cast<Window*>(data);
    for (const auto& output : window->app->outputs)
        if (output->output == entered &&
            std::count(window->on.begin(), window->on.end(), output.get()) == 0)
            window->on.push_back(output.get());
    Rescaled(*window);
}
void SurfaceLeave(void* data, wl_surface*, wl_output* left) {
    auto* window = static_cast<Window*>(data);
    std::erase_if(window->on, [left](const Output* output) { return output->output == left; });
    Rescaled(*window);
}
#ifdef WL_SURFACE_PREFERRED_BUFFER_SCALE_SINCE_VERSION
void SurfacePreferredScale(void* data, wl_surface*, std::int32_t scale) {
    auto* window = static_cast<Window*>(data);
    window->preferredScale = std::max(scale, 1);
    Rescaled(*window);
}
void SurfacePreferredTransform(void*, wl_surface*, std::uint32_t) {}
const wl_surface_listener wlSurfaceListener = {.enter = SurfaceEnter,
                                               .leave = SurfaceLeave,
                                               .preferred_buffer_scale = SurfacePreferredScale,
                                               .preferred_buffer_transform =
                                                   SurfacePreferredTransform};
#else
const wl_surface_listener wlSurfaceListener = {.enter = SurfaceEnter, .leave = SurfaceLeave};
#endif

void PreferredFraction(void* data, wp_fractional_scale_v1*, std::uint32_t scale) {
    auto* window = static_cast<Window*>(data);
    window->preferredFraction = scale;
    Rescaled(*window);
}
const wp_fractional_scale_v1_listener fractionListener = {.preferred_scale = PreferredFraction};

void FrameDone(void* data, wl_callback* callback, std::uint32_t) {
    wl_callback_destroy(callback);
    static_cast<App*>(data)->frame = nullptr;
}
const wl_callback_listener frameListener = {.done = FrameDone};

// The buffer's size and scale, and the viewport that maps it on the window.
std::string SizeBuffer(Window& window) {
    BufferSize pixels = Pixels(window);
    std::string error = OpenEglWindow(window.egl, window.surface, pixels.width, pixels.height);
    if (window.app->compositorVersion >= 3)
        wl_surface_set_buffer_scale(window.surface, pixels.scale);
    if (window.viewport != nullptr) {
        if (pixels.viewport)
            wp_viewport_set_destination(window.viewport, window.width, window.height);
        else
            wp_viewport_set_destination(window.viewport, -1, -1);
    }
    window.shownWidth = window.width;
    window.shownHeight = window.height;
    return error;
}

} // namespace

void AddWindow(App& app, Output* output) {
    auto window = std::make_unique<Window>();
    window->app = &app;
    window->output = output;
    window->surface = wl_compositor_create_surface(app.compositor);
    wl_surface_add_listener(window->surface, &wlSurfaceListener, window.get());
    if (app.viewporter != nullptr && app.fractions != nullptr) {
        window->viewport = wp_viewporter_get_viewport(app.viewporter, window->surface);
        window->fraction =
            wp_fractional_scale_manager_v1_get_fractional_scale(app.fractions, window->surface);
        wp_fractional_scale_v1_add_listener(window->fraction, &fractionListener, window.get());
    }
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

void Cover(App& app) {
    if (app.fullScreen && !app.outputs.empty())
        for (auto& output : app.outputs)
            AddWindow(app, output.get());
    else
        AddWindow(app, nullptr);
    app.running = true;
}

void DropFrame(App& app) {
    if (app.frame != nullptr)
        wl_callback_destroy(app.frame);
    app.frame = nullptr;
}

// No tick draws before the compositor has shown the last picture: with the
// outputs off or the window hidden, nothing is drawn at all.
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
    if (window.fraction != nullptr)
        wp_fractional_scale_v1_destroy(window.fraction);
    if (window.viewport != nullptr)
        wp_viewport_destroy(window.viewport);
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

void RemoveWindows(App& app) {
    while (!app.windows.empty())
        RemoveWindow(app, app.windows.size() - 1);
}

void Rescale(App& app, const Output* output) {
    for (auto& window : app.windows)
        if (window->output == output || std::count(window->on.begin(), window->on.end(), output))
            Rescaled(*window);
}

void OutputGone(App& app, const Output* output) {
    for (std::size_t i = 0; i < app.windows.size(); ++i)
        if (app.windows[i]->output == output) {
            RemoveWindow(app, i);
            break;
        }
    for (auto& window : app.windows)
        if (std::erase(window->on, output) > 0)
            Rescaled(*window);
}

void ApplyConfigures(App& app) {
    for (std::size_t i = 0; i < app.windows.size() && app.error.empty(); ++i) {
        Window& window = *app.windows[i];
        if (!window.configured || !window.changed)
            continue;
        window.changed = false;
        app.error = SizeBuffer(window);
        if (!app.error.empty())
            break;
        if (i == 0) {
            app.error = DrawInto(window.egl);
            app.drawing = app.error.empty();
            if (!app.drawing)
                break;
            StartFigure(window.egl.width, window.egl.height);
            Show(app);
        } else {
            PaintBlack(window.egl, app.drawing ? &app.windows[0]->egl : nullptr);
        }
    }
}
