#include "hack_options.h"

#include <cstdio>
#include <cstring>

#include "autostart.h"

namespace {

// Digits of one base only, no sign, no blanks, at most `limit`.
bool ParseUnsigned(const char* text, unsigned base, unsigned long limit, unsigned long& value) {
    if (*text == '\0')
        return false;
    value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        unsigned digit;
        if (*p >= '0' && *p <= '9')
            digit = static_cast<unsigned>(*p - '0');
        else if (base == 16 && *p >= 'a' && *p <= 'f')
            digit = static_cast<unsigned>(*p - 'a' + 10);
        else if (base == 16 && *p >= 'A' && *p <= 'F')
            digit = static_cast<unsigned>(*p - 'A' + 10);
        else
            return false;
        if (digit >= base || value > (limit - digit) / base)
            return false;
        value = value * base + digit;
    }
    return true;
}

// "--name", "-name", "--name=value" and "-name=value" all name the option;
// `inlineValue` gets what follows an equals sign.
bool Names(const char* arg, const char* name, const char*& inlineValue) {
    inlineValue = nullptr;
    if (arg[0] != '-')
        return false;
    arg += arg[1] == '-' ? 2 : 1;
    std::size_t n = std::strlen(name);
    if (std::strncmp(arg, name, n) != 0)
        return false;
    if (arg[n] == '=')
        inlineValue = arg + n + 1;
    return arg[n] == '\0' || arg[n] == '=';
}

// TEXT as it goes into a one-line refusal: control characters as escapes, so
// that a newline in an argument cannot make two lines of it.
std::string Shown(const char* text) {
    std::string shown;
    for (const char* p = text; *p != '\0'; ++p) {
        auto c = static_cast<unsigned char>(*p);
        char escape[5];
        if (c == '\n' || c == '\t')
            shown += c == '\n' ? "\\n" : "\\t";
        else if (c < 0x20 || c == 0x7f)
            shown.append(escape, static_cast<std::size_t>(
                                     std::snprintf(escape, sizeof escape, "\\x%02x", c)));
        else
            shown += *p;
    }
    return shown;
}

constexpr long maxDelay = 10000000; // ten seconds
constexpr long maxIdle = 86400;     // a day

// The target that --add-to-xscreensaver, --remove-from-xscreensaver or
// --remove-from-autostart (with no value) names; OwnWindow for any other
// argument.
HackTarget ListEditNamed(const char* arg) {
    const char* value;
    if (Names(arg, "add-to-xscreensaver", value) && value == nullptr)
        return HackTarget::AddToList;
    if (Names(arg, "remove-from-xscreensaver", value) && value == nullptr)
        return HackTarget::RemoveFromList;
    if (Names(arg, "remove-from-autostart", value) && value == nullptr)
        return HackTarget::RemoveFromAutostart;
    return HackTarget::OwnWindow;
}

} // namespace

const char hackUsage[] =
    "usage: verdanelle [--root | --window-id ID | --fullscreen | --idle SECONDS]\n"
    "                  [--delay MICROSECONDS]\n"
    "Grows a fern of straight lines with OpenGL, for xscreensaver, MATE's screen saver\n"
    "and the idle daemons of Wayland.\n"
    "  --root                draw on the window XSCREENSAVER_WINDOW names, else on the root\n"
    "  --window-id ID        draw on window ID (hexadecimal 0x... or decimal)\n"
    "  --fullscreen          cover every screen until a key, a button, a touch or a\n"
    "                        movement of the pointer\n"
    "  --idle SECONDS        stay running, and show --fullscreen each time the session\n"
    "                        has had no input for SECONDS (1 to 86400)\n"
    "  --delay MICROSECONDS  from one tick to the next, 0 to 10000000 (default 50000)\n"
    "  -h, --help            print this and exit\n"
    "  --add-to-xscreensaver       add Verdanelle to xscreensaver's list in ~/.xscreensaver\n"
    "  --remove-from-xscreensaver  take it out again\n"
    "  --add-to-autostart [SECONDS]  start --idle SECONDS (300) with the session\n"
    "  --remove-from-autostart       take that out again\n"
    "Otherwise it draws in a window of its own, which Escape, q or the close button\n"
    "ends. Where WAYLAND_DISPLAY is set its windows are Wayland's, else X11's.\n";

bool ParseWindowId(const char* text, unsigned long& id) {
    constexpr unsigned long maxId = 0x1FFFFFFF;
    bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    return ParseUnsigned(hex ? text + 2 : text, hex ? 16 : 10, maxId, id) && id != 0;
}

int Refuse(const std::string& why, int code) {
    std::fprintf(stderr, "verdanelle: %s\n", why.c_str());
    return code;
}

HackOptions ParseHackOptions(int argc, const char* const* argv, const char* screensaverWindow,
                             const char* waylandDisplay) {
    HackOptions options;
    bool root = false, windowId = false, fullScreen = false, idle = false;
    for (int i = 1; i < argc && options.error.empty(); ++i) {
        const char* arg = argv[i];
        const char* value = nullptr;
        auto takeValue = [&](const char* name) {
            if (value == nullptr && i + 1 < argc)
                value = argv[++i];
            if (value == nullptr)
                options.error = "option " + Shown(arg) + " needs a value";
            else if (value[0] == '\0')
                options.error = std::string("option --") + name + " needs a value";
            return value != nullptr && value[0] != '\0';
        };
        if ((Names(arg, "help", value) || Names(arg, "h", value)) && value == nullptr) {
            options.target = HackTarget::Help;
            return options;
        } else if (HackTarget edit = ListEditNamed(arg); edit != HackTarget::OwnWindow) {
            options.target = edit;
            if (argc != 2)
                options.error = Shown(arg) + " takes no other option";
        } else if (Names(arg, "add-to-autostart", value)) {
            // An idle time may follow, in the same argument or the next.
            unsigned long seconds = defaultIdleSeconds;
            bool first = i == 1;
            if (value == nullptr && i + 1 < argc)
                value = argv[++i];
            options.target = HackTarget::AddToAutostart;
            if (!first || i + 1 != argc)
                options.error = "--add-to-autostart takes no other option";
            else if (value != nullptr &&
                     !(ParseUnsigned(value, 10, maxIdle, seconds) && seconds > 0))
                options.error =
                    std::string("bad idle time \"") + Shown(value) + "\" (seconds, 1 to 86400)";
            options.idleSeconds = static_cast<long>(seconds);
        } else if (Names(arg, "root", value) && value == nullptr) {
            root = true;
        } else if (Names(arg, "fullscreen", value) && value == nullptr) {
            fullScreen = true;
        } else if (Names(arg, "idle", value)) {
            unsigned long seconds;
            if (!takeValue("idle"))
                break;
            if (ParseUnsigned(value, 10, maxIdle, seconds) && seconds > 0)
                options.idleSeconds = static_cast<long>(seconds);
            else
                options.error =
                    std::string("bad idle time \"") + Shown(value) + "\" (seconds, 1 to 86400)";
            idle = true;
        } else if (Names(arg, "window-id", value)) {
            if (takeValue("window-id") && !ParseWindowId(value, options.window))
                options.error = std::string("bad window id \"") + Shown(value) + "\"";
            windowId = true;
        } else if (Names(arg, "delay", value)) {
            unsigned long delay;
            if (!takeValue("delay"))
                break;
            if (ParseUnsigned(value, 10, maxDelay, delay))
                options.delay = static_cast<long>(delay);
            else
                options.error =
                    std::string("bad delay \"") + Shown(value) + "\" (microseconds, 0 to 10000000)";
        } else {
            options.error = std::string("unknown option \"") + Shown(arg) +
                            "\" (use --root, --window-id ID, --fullscreen, --idle SECONDS or "
                            "--delay MICROSECONDS)";
        }
    }
    if (!options.error.empty() || options.target != HackTarget::OwnWindow)
        return options;
    bool inWayland = waylandDisplay != nullptr && waylandDisplay[0] != '\0';
    bool givenWindow = screensaverWindow != nullptr && screensaverWindow[0] != '\0';
    if (idle && (root || windowId || fullScreen)) {
        options.error = "--idle shows windows of its own: leave out --root, --window-id and "
                        "--fullscreen";
    } else if (idle) {
        options.target = HackTarget::Idle;
        options.wayland = inWayland;
    } else if (fullScreen && (root || windowId)) {
        options.error =
            "--fullscreen draws on windows of its own: leave out --root and --window-id";
    } else if (fullScreen) {
        options.target = HackTarget::FullScreen;
        options.wayland = inWayland;
    } else if (windowId) {
        options.target = HackTarget::WindowId;
    } else if (root) {
        options.target = HackTarget::Root;
        options.window = 0;
        if (givenWindow && !ParseWindowId(screensaverWindow, options.window))
            options.error =
                std::string("bad XSCREENSAVER_WINDOW \"") + Shown(screensaverWindow) + "\"";
        else if (!givenWindow && inWayland) // Xwayland's root window is never shown
            options.error = "--root: a Wayland session shows no root window; "
                            "run verdanelle --fullscreen from its idle daemon instead";
    } else {
        options.wayland = inWayland;
    }
    return options;
}
