// What the hack makes of its command line, XSCREENSAVER_WINDOW and WAYLAND_DISPLAY.
#include <gtest/gtest.h>

#include <vector>

#include "autostart_entry.h"
#include "hack_options.h"

namespace {

struct Case {
    std::vector<const char*> args;
    const char* screensaverWindow;
    HackTarget target;
    unsigned long window;
    long delay;
    const char* error; // empty: accepted
    const char* waylandDisplay = nullptr;
    bool wayland = false; // its windows through Wayland
    long idleSeconds = 0;
};

} // namespace

TEST(HackOptions, ByCommandLineAndEnvironment) {
    using enum HackTarget;
    const Case table[] = {
        {{}, nullptr, OwnWindow, 0, 50000, ""},
        {{}, "0x400007", OwnWindow, 0, 50000, ""},
        {{"--root"}, nullptr, Root, 0, 50000, ""},
        {{"-root"}, "", Root, 0, 50000, ""},
        {{"--root"}, "0x400007", Root, 0x400007, 50000, ""},
        {{"--root"}, "0X40000a", Root, 0x40000A, 50000, ""},
        {{"--root"}, "4194311", Root, 4194311, 50000, ""},
        {{"--root"}, "window", Root, 0, 50000, "bad XSCREENSAVER_WINDOW \"window\""},
        {{"--window-id", "0x1e00003"}, nullptr, WindowId, 0x1E00003, 50000, ""},
        {{"-window-id", "31457283"}, "0x400007", WindowId, 31457283, 50000, ""},
        {{"--window-id=0x200001", "--root"}, "0x400007", WindowId, 0x200001, 50000, ""},
        {{"--delay", "20000", "--root"}, nullptr, Root, 0, 20000, ""},
        {{"-delay=0"}, nullptr, OwnWindow, 0, 0, ""},
        {{"--delay", "10000000"}, nullptr, OwnWindow, 0, 10000000, ""},
        {{"--root", "--help", "--fps"}, nullptr, Help, 0, 50000, ""},
        {{"-h"}, nullptr, Help, 0, 50000, ""},
        {{"--add-to-xscreensaver"}, "0x400007", AddToList, 0, 50000, ""},
        {{"-remove-from-xscreensaver"}, nullptr, RemoveFromList, 0, 50000, ""},
        {{"--add-to-xscreensaver", "--root"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "--add-to-xscreensaver takes no other option"},
        // Full screen, and which display: Wayland's for its own windows where
        // the session is Wayland's, X11's for a window the daemon gives.
        {{"--fullscreen", "--delay=0"}, nullptr, FullScreen, 0, 0, ""},
        {{"-fullscreen"}, nullptr, FullScreen, 0, 50000, "", "wayland-0", true},
        {{}, nullptr, OwnWindow, 0, 50000, "", "wayland-0", true},
        {{"--root"}, "0x400007", Root, 0x400007, 50000, "", "wayland-0", false},
        {{"--window-id", "0x200001"}, nullptr, WindowId, 0x200001, 50000, "", "wayland-0", false},
        {{"--fullscreen"}, nullptr, FullScreen, 0, 50000, "", "", false},
        {{"--root"},
         "",
         OwnWindow,
         0,
         50000,
         "--root: a Wayland session shows no root window; "
         "run verdanelle --fullscreen from its idle daemon instead",
         "wayland-0"},
        // A screen saver of its own: seconds without input, within a day.
        {{"--idle", "300"}, nullptr, Idle, 0, 50000, "", nullptr, false, 300},
        {{"-idle=86400", "--delay", "0"}, nullptr, Idle, 0, 0, "", "wayland-0", true, 86400},
        {{"--idle", "0"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "bad idle time \"0\" (seconds, 1 to 86400)"},
        {{"--idle=86401"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "bad idle time \"86401\" (seconds, 1 to 86400)"},
        {{"--idle", "-5"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "bad idle time \"-5\" (seconds, 1 to 86400)"},
        {{"--idle", "5m"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "bad idle time \"5m\" (seconds, 1 to 86400)"},
        {{"--idle"}, nullptr, OwnWindow, 0, 50000, "option --idle needs a value"},
        {{"--idle", "60", "--fullscreen"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "--idle shows windows of its own: leave out --root, --window-id and --fullscreen"},
        {{"--fullscreen", "--root"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "--fullscreen draws on windows of its own: leave out --root and --window-id"},
        {{"--fullscreen=yes"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "unknown option \"--fullscreen=yes\" (use --root, --window-id ID, --fullscreen, "
         "--idle SECONDS or --delay MICROSECONDS)"},
        // Refused: unknown options, bad numbers, missing values.
        {{"--fps"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "unknown option \"--fps\" (use --root, --window-id ID, --fullscreen, --idle "
         "SECONDS or --delay MICROSECONDS)"},
        {{"root"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "unknown option \"root\" (use --root, --window-id ID, --fullscreen, --idle "
         "SECONDS or --delay MICROSECONDS)"},
        {{"--root=1"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "unknown option \"--root=1\" (use --root, --window-id ID, --fullscreen, --idle "
         "SECONDS or --delay MICROSECONDS)"},
        {{"--rooted"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "unknown option \"--rooted\" (use --root, --window-id ID, --fullscreen, --idle "
         "SECONDS or --delay MICROSECONDS)"},
        {{"--window-id"}, nullptr, OwnWindow, 0, 50000, "option --window-id needs a value"},
        {{"--window-id="}, nullptr, OwnWindow, 0, 50000, "option --window-id needs a value"},
        {{"--window-id", "abc"}, nullptr, OwnWindow, 0, 50000, "bad window id \"abc\""},
        {{"--window-id", "0"}, nullptr, OwnWindow, 0, 50000, "bad window id \"0\""},
        {{"--window-id", "0x"}, nullptr, OwnWindow, 0, 50000, "bad window id \"0x\""},
        {{"--window-id", "-5"}, nullptr, OwnWindow, 0, 50000, "bad window id \"-5\""},
        {{"--window-id", " 12"}, nullptr, OwnWindow, 0, 50000, "bad window id \" 12\""},
        {{"--window-id", "12z"}, nullptr, OwnWindow, 0, 50000, "bad window id \"12z\""},
        {{"--window-id", "0x20000000"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "bad window id \"0x20000000\""},
        {{"--window-id", "99999999999999999999999"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "bad window id \"99999999999999999999999\""},
        {{"--delay", "-1"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "bad delay \"-1\" (microseconds, 0 to 10000000)"},
        {{"--delay", "10000001"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "bad delay \"10000001\" (microseconds, 0 to 10000000)"},
        {{"--delay", "0x10"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "bad delay \"0x10\" (microseconds, 0 to 10000000)"},
        {{"--delay"}, nullptr, OwnWindow, 0, 50000, "option --delay needs a value"},
        // One line, whatever the argument holds.
        {{"--idle\n0\x01"},
         nullptr,
         OwnWindow,
         0,
         50000,
         "unknown option \"--idle\\n0\\x01\" (use --root, --window-id ID, --fullscreen, --idle "
         "SECONDS or --delay MICROSECONDS)"},
    };
    for (const Case& c : table) {
        std::vector<const char*> argv{"verdanelle"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        HackOptions got = ParseHackOptions(static_cast<int>(argv.size()), argv.data(),
                                           c.screensaverWindow, c.waylandDisplay);
        std::string what = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(got.error, c.error) << what;
        if (!got.error.empty())
            continue;
        EXPECT_EQ(got.target, c.target) << what;
        EXPECT_EQ(got.window, c.window) << what;
        EXPECT_EQ(got.delay, c.delay) << what;
        EXPECT_EQ(got.wayland, c.wayland) << what;
        EXPECT_EQ(got.idleSeconds, c.idleSeconds) << what;
    }
}

// The autostart entry: a new one, or the user's own with only --idle changed,
// turned on again, and turned off over a system-wide one.
TEST(AutostartEntry, StartAndHide) {
    using enum EntryOutcome;
    const std::string ours = AutostartEntry("verdanelle", 120);
    const std::string users =
        "# mine\n[Desktop Entry]\nType=Application\nName=Fern\nExec=verdanelle --idle 300 "
        "--delay 20000\nOnlyShowIn=XFCE;\nX-GNOME-Autostart-enabled=false\n\n[Desktop Action x]\n"
        "Exec=other --idle 5\n";
    const struct {
        std::string text;
        EntryOutcome start;
        std::string started; // when Changed
        EntryOutcome hide;
    } table[] = {
        {"", Changed, ours, Changed},
        {ours, Unchanged, "", Changed},
        {AutostartEntry("/opt/v/verdanelle", 300), Changed,
         AutostartEntry("/opt/v/verdanelle", 120), Changed},
        {users, Changed,
         "# mine\n[Desktop Entry]\nType=Application\nName=Fern\nExec=verdanelle --idle 120 "
         "--delay 20000\nOnlyShowIn=XFCE;\nX-GNOME-Autostart-enabled=false\n\n[Desktop Action x]\n"
         "Exec=other --idle 5\n",
         Changed},
        {"[Desktop Entry]\nExec = verdanelle --idle=9 -idle 8\nHidden=true\n", Changed,
         "[Desktop Entry]\nExec = verdanelle --idle=120 -idle 120\n", Unchanged},
        {"[Desktop Entry]\nExec=\"/my dir/verdanelle\" --delay 1", Changed,
         "[Desktop Entry]\nExec=\"/my dir/verdanelle\" --delay 1 --idle 120", Changed},
        {"[Desktop Entry]\nName=V\n\n", Changed,
         "[Desktop Entry]\nName=V\nExec=verdanelle --idle 120\n\n", Changed},
        {"[Desktop Entry]\nExec=verdanelle --idle --idle=5\n", Changed,
         "[Desktop Entry]\nExec=verdanelle --idle 120\n", Changed},
        {"[Other]\nExec=verdanelle\n", NotAnEntry, "", NotAnEntry},
        {"[Desktop Entry]\nExec=\"/opt/v --idle 9\n", NotAnEntry, "", Changed},
    };
    for (const auto& row : table) {
        EntryEdit started = StartInEntry(row.text, "verdanelle", 120);
        EXPECT_EQ(started.outcome, row.start) << row.text;
        EXPECT_EQ(started.text, row.start == Changed     ? row.started
                                : row.start == Unchanged ? row.text
                                                         : "")
            << row.text;
        EntryEdit hidden = HideEntry(row.text, "verdanelle");
        EXPECT_EQ(hidden.outcome, row.hide) << row.text;
        EXPECT_EQ(EntryHidden(hidden.text), row.hide != NotAnEntry) << hidden.text;
        if (row.hide == Changed) { // and on again: the user's keys as they were
            EXPECT_EQ(StartInEntry(hidden.text, "verdanelle", 120).text,
                      StartInEntry(row.text, "verdanelle", 120).text)
                << row.text;
        }
    }
}
