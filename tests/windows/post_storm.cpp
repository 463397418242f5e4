// Test helper: posts ROUNDS rounds of WM_CLOSE, WM_KEYDOWN, WM_ACTIVATEAPP(0)
// and WM_POWERBROADCAST, or of the one message and wParam given, to a
// top-level window of a class and title, a few milliseconds apart, and
// prints how many it posted.
//   post_storm CLASS TITLE ROUNDS [MESSAGE WPARAM]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4 && argc != 6)
        return 2;
    HWND window = FindWindowA(argv[1], argv[2]);
    if (window == nullptr)
        return 1;
    const UINT storm[] = {WM_CLOSE, WM_KEYDOWN, WM_ACTIVATEAPP, WM_POWERBROADCAST};
    int posted = 0;
    for (int round = 0, rounds = std::atoi(argv[3]); round < rounds; ++round) {
        if (argc == 6)
            posted += PostMessageA(window, std::strtoul(argv[4], nullptr, 0),
                                   std::strtoul(argv[5], nullptr, 0), 0)
                          ? 1
                          : 0;
        else
            for (UINT message : storm)
                posted += PostMessageA(window, message, message == WM_KEYDOWN ? 'A' : 0, 0) ? 1 : 0;
        Sleep(5);
    }
    std::printf("posted=%d\n", posted);
    return 0;
}
