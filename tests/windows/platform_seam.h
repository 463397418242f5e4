// Link-time seam for the Windows-side tests: the programs' imports of a few
// platform calls are wrapped (ld --wrap) so a test can record them and make
// the pixel-format and context calls fail.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct MessageBoxCall {
    HWND owner;
    std::string text, caption;
    UINT type;
};

struct Seam {
    int failStep = 0; // 1 ChoosePixelFormat ... 5 wglMakeCurrent; 0 none
    PIXELFORMATDESCRIPTOR requested = {};
    PIXELFORMATDESCRIPTOR describeAs = {}; // what DescribePixelFormat writes, if nSize is set
    std::vector<std::vector<PALETTEENTRY>> palettes; // CreatePalette's entries
    std::vector<std::string> order;                  // palette and context calls, as made
    std::vector<MessageBoxCall> boxes;
    std::vector<HGLRC> created, deleted;
    int timersSet = 0;
    HWND timerWindow = nullptr;
    UINT_PTR timerEvent = 0;
    UINT timerInterval = 0;

    // The host's calls.
    bool win9x = false;             // GetVersionExA reports platform id 1
    bool faultInForeground = false; // GetForegroundWindow writes through null
    std::vector<DWORD> faults;      // exception codes UnhandledExceptionFilter saw
    LONG faultVerdict = EXCEPTION_EXECUTE_HANDLER;
    struct Spi {
        UINT action, param, slot, winIni;
    };
    std::vector<Spi> spiCalls;
    bool fakeImm = false; // GetProcAddress gives FakeImmAssociateContext
    HANDLE immPrevious = nullptr;
    std::vector<std::pair<HWND, HANDLE>> immCalls;
    std::vector<MSG> posts; // PostMessageA calls, forwarded
    std::vector<HGDIOBJ> deletedObjects;
};

extern Seam seam;
