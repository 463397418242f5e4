// The hack's command line and environment: the input's pieces between zero
// bytes are XSCREENSAVER_WINDOW, WAYLAND_DISPLAY (each unset when empty) and
// the arguments. A refusal is one line; what is accepted is in its range.
#include <cstdint>

#include "hack_options.h"
#include "property.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> pieces(1);
    for (std::size_t i = 0; i < size; ++i)
        data[i] == 0 ? pieces.emplace_back() : pieces.back() += static_cast<char>(data[i]);
    pieces.resize(std::max<std::size_t>(pieces.size(), 2));
    std::vector<const char*> argv{"verdanelle"};
    for (std::size_t i = 2; i < pieces.size(); ++i)
        argv.push_back(pieces[i].c_str());
    const char* window = pieces[0].empty() ? nullptr : pieces[0].c_str();
    const char* wayland = pieces[1].empty() ? nullptr : pieces[1].c_str();
    HackOptions options =
        ParseHackOptions(static_cast<int>(argv.size()), argv.data(), window, wayland);
    Hold(options.error.find_first_of("\n\r") == std::string::npos, "a refusal is one line",
         options.error);
    if (!options.error.empty())
        return 0;
    bool idle = options.target == HackTarget::Idle || options.target == HackTarget::AddToAutostart;
    Hold(options.delay >= 0 && options.delay <= 10000000, "the delay is 0 to 10 s");
    Hold(!idle || (options.idleSeconds >= 1 && options.idleSeconds <= 86400),
         "the idle time is 1 s to a day");
    Hold(options.window < (1ul << 29) &&
             (options.target != HackTarget::WindowId || options.window != 0),
         "a window id is within X's 29 bits, and not 0");
    Hold(!options.wayland || wayland != nullptr, "Wayland only where WAYLAND_DISPLAY is set");
    return 0;
}
