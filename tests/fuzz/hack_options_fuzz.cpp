// The hack's command line and environment: the input's pieces between zero
// bytes are XSCREENSAVER_WINDOW, WAYLAND_DISPLAY (each unset when empty) and
// the arguments. A refusal is one line; what is accepted is within its range.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "hack_options.h"

namespace {

[[noreturn]] void Broken(const char* property, const std::string& what) {
    std::fprintf(stderr, "property broken: %s: %s\n", property, what.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> pieces(1);
    for (std::size_t i = 0; i < size; ++i)
        if (data[i] == 0)
            pieces.emplace_back();
        else
            pieces.back() += static_cast<char>(data[i]);
    while (pieces.size() < 2)
        pieces.emplace_back();
    std::vector<const char*> argv{"verdanelle"};
    for (std::size_t i = 2; i < pieces.size(); ++i)
        argv.push_back(pieces[i].c_str());
    argv.push_back(nullptr);
    const char* screensaverWindow = pieces[0].empty() ? nullptr : pieces[0].c_str();
    const char* waylandDisplay = pieces[1].empty() ? nullptr : pieces[1].c_str();
    HackOptions options = ParseHackOptions(static_cast<int>(argv.size() - 1), argv.data(),
                                           screensaverWindow, waylandDisplay);
    if (!options.error.empty()) {
        if (options.error.find_first_of("\n\r") != std::string::npos)
            Broken("a refusal is one line", options.error);
        return 0;
    }
    if (options.delay < 0 || options.delay > 10000000)
        Broken("the delay is 0 to 10 s", std::to_string(options.delay));
    bool idle = options.target == HackTarget::Idle || options.target == HackTarget::AddToAutostart;
    if (idle && (options.idleSeconds < 1 || options.idleSeconds > 86400))
        Broken("the idle time is 1 s to a day", std::to_string(options.idleSeconds));
    if (options.window >= (1ul << 29) ||
        (options.target == HackTarget::WindowId && options.window == 0))
        Broken("a window id is within X's 29 bits, and not 0", std::to_string(options.window));
    if (options.wayland && waylandDisplay == nullptr)
        Broken("Wayland only where WAYLAND_DISPLAY is set", pieces[1]);
    for (std::size_t i = 1; i + 1 < argv.size(); ++i) {
        unsigned long id = 0;
        if (ParseWindowId(argv[i], id) && (id == 0 || id >= (1ul << 29)))
            Broken("a window id read is within X's 29 bits, and not 0", argv[i]);
    }
    return 0;
}
