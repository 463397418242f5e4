// The renderer's message handler on a real window, with Wine's OpenGL.
#include <gtest/gtest.h>

#include <windows.h>
#include <GL/gl.h>

#include <cstring>
#include <vector>

#include "animation.h"
#include "fern_window.h"
#include "platform_seam.h"

namespace {

struct InputCall {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
bool recordInput = false;
std::vector<InputCall> inputCalls;
int timerMessages = 0;
HWND createdWindow = nullptr;

LRESULT CALLBACK TestShellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE)
        createdWindow = window;
    if (message == WM_TIMER)
        ++timerMessages;
    return FernWindowProc(window, message, wParam, lParam);
}

constexpr int width = 320, height = 240;

HWND MakeWindow() {
    static ATOM atom = [] {
        WNDCLASSA wc = {};
        wc.style = CS_OWNDC;
        wc.lpfnWndProc = TestShellProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = "FernTestClass";
        return RegisterClassA(&wc);
    }();
    EXPECT_NE(atom, 0);
    createdWindow = nullptr;
    timerMessages = 0;
    HWND window = CreateWindowExA(0, "FernTestClass", "Fern", WS_POPUP | WS_VISIBLE, 0, 0, width,
                                  height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    return window ? window : createdWindow;
}

// Dispatches messages until `done` holds or ten seconds pass.
template <typename Done> bool PumpUntil(Done done) {
    DWORD start = GetTickCount();
    MSG msg;
    while (!done()) {
        if (GetTickCount() - start > 10000)
            return false;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
    return true;
}

bool QuitPosted() {
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0 && msg.wParam == 0;
}

} // namespace

// The test stands in for the host's default processing.
LRESULT CALLBACK SaverInputProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (recordInput) {
        inputCalls.push_back(InputCall{window, message, wParam, lParam});
        return 0x5A5A;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(FernWindow, RealTicksDrawTheFern) {
    seam = Seam{};
    HWND window = MakeWindow();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_TRUE(seam.boxes.empty());

    PIXELFORMATDESCRIPTOR want = {};
    want.nSize = 40;
    want.nVersion = 1;
    want.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    want.cColorBits = 32;
    EXPECT_EQ(std::memcmp(&seam.requested, &want, sizeof want), 0);
    EXPECT_EQ(seam.timersSet, 1);
    EXPECT_EQ(seam.timerWindow, window);
    EXPECT_EQ(seam.timerEvent, 1u);
    EXPECT_EQ(seam.timerInterval, 50u);
    EXPECT_EQ(screenWidth, width);
    EXPECT_EQ(screenHeight, height);
    ASSERT_EQ(seam.created.size(), 1u);
    EXPECT_EQ(wglGetCurrentContext(), seam.created[0]);

    ASSERT_TRUE(PumpUntil([] { return timerMessages >= 6; }));
    KillTimer(window, 1); // hold the picture still while it is read
    EXPECT_EQ(growthTicks, timerMessages);
    int drawn = growthTicks;

    // The stem grows up from the middle of the bottom edge, in the last tick's colour.
    std::vector<unsigned char> rgb(width * height * 3);
    glReadBuffer(GL_FRONT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    auto pixel = [&](int x, int yFromTop) {
        return &rgb[((height - 1 - yFromTop) * width + x) * 3];
    };
    int stemRows = 0;
    for (int y = height - 40; y < height - 2; ++y) {
        bool green = false;
        for (int x = width / 2 - 2; x <= width / 2 + 1; ++x) {
            const unsigned char* p = pixel(x, y);
            green |= p[0] == drawn - 1 && p[1] == 255 && p[2] == 0;
        }
        stemRows += green;
    }
    EXPECT_EQ(stemRows, 38);
    for (int corner : {0, 1}) {
        const unsigned char* p = pixel(corner * (width - 1), 5);
        EXPECT_EQ(p[0] + p[1] + p[2], 0);
    }

    DestroyWindow(window);
    EXPECT_TRUE(QuitPosted());
    EXPECT_EQ(seam.deleted, seam.created);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

TEST(FernWindow, SizeKeepsTheViewportOfCreation) {
    seam = Seam{};
    HWND window = MakeWindow();
    ASSERT_TRUE(IsWindow(window));
    glViewport(3, 4, 5, 6);
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(77, 55));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], width);
    EXPECT_EQ(viewport[3], height);
    DestroyWindow(window);
    QuitPosted();
}

TEST(FernWindow, OtherMessagesReachSaverInputProcUnchanged) {
    seam = Seam{};
    HWND window = MakeWindow();
    ASSERT_TRUE(IsWindow(window));
    KillTimer(window, 1);
    const InputCall table[] = {
        {window, WM_PAINT, 0, 0},
        {window, WM_KEYDOWN, 0x41, 0x001E0001},
        {window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 20)},
        {window, WM_CLOSE, 0, 0},
        {window, 0x8000, ~WPARAM{0}, -1},
        {nullptr, WM_SETCURSOR, 7, 8},
    };
    recordInput = true;
    for (const InputCall& c : table) {
        inputCalls.clear();
        EXPECT_EQ(FernWindowProc(c.window, c.message, c.wParam, c.lParam), 0x5A5A);
        ASSERT_EQ(inputCalls.size(), 1u) << c.message;
        EXPECT_EQ(inputCalls[0].window, c.window);
        EXPECT_EQ(inputCalls[0].message, c.message);
        EXPECT_EQ(inputCalls[0].wParam, c.wParam);
        EXPECT_EQ(inputCalls[0].lParam, c.lParam);
    }
    // The four messages of its own never go on, whatever they carry.
    inputCalls.clear();
    int before = growthTicks;
    EXPECT_EQ(FernWindowProc(window, WM_TIMER, 12345, 99), 0);
    EXPECT_EQ(growthTicks, before + 1);
    EXPECT_EQ(FernWindowProc(window, WM_SIZE, 0, MAKELPARAM(1, 1)), 0);
    EXPECT_TRUE(inputCalls.empty());
    recordInput = false;
    DestroyWindow(window);
    QuitPosted();
}

TEST(FernWindow, EachSetUpFailureShowsItsOneBox) {
    const struct {
        int step;
        const char* text;
        bool ownedByWindow;
    } table[] = {
        {1, "Cannot find suitable pixel format", false},
        {2, "Unable to set pixel format", true},
        {3, "Failed to describe pixel format", true},
        {4, "Unable to create OpenGL rendering context", true},
        {5, "Unable to make specified OpenGL rendering context current rendering context", true},
    };
    for (const auto& c : table) {
        seam = Seam{};
        seam.failStep = c.step;
        HWND window = MakeWindow();
        ASSERT_NE(window, nullptr) << c.step;
        EXPECT_FALSE(IsWindow(window)) << c.step;
        ASSERT_EQ(seam.boxes.size(), 1u) << c.step;
        EXPECT_EQ(seam.boxes[0].text, c.text);
        EXPECT_EQ(seam.boxes[0].caption, "Error");
        EXPECT_EQ(seam.boxes[0].type, UINT{MB_OK});
        EXPECT_EQ(seam.boxes[0].owner, c.ownedByWindow ? window : nullptr) << c.step;
        EXPECT_EQ(seam.timersSet, 0) << c.step;
        EXPECT_TRUE(QuitPosted()) << c.step;
        // Only the context of failure 5 existed; it is deleted exactly once.
        EXPECT_EQ(seam.deleted, seam.created) << c.step;
        EXPECT_EQ(seam.created.size(), c.step == 5 ? 1u : 0u) << c.step;
    }
}

// A format that needs a palette gets the ramp of its colour bits, realised
// before the context is made, when the window is asked and before each tick
// draws; others none.
TEST(FernWindow, PaletteOnlyWhereTheFormatNeedsOne) {
    for (bool needs : {false, true}) {
        seam = Seam{};
        if (needs) {
            PIXELFORMATDESCRIPTOR& d = seam.describeAs;
            d.nSize = 40;
            d.nVersion = 1;
            d.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_NEED_PALETTE;
            d.cColorBits = 8;
            d.cRedBits = 3, d.cGreenBits = 3, d.cBlueBits = 2;
            d.cRedShift = 0, d.cGreenShift = 3, d.cBlueShift = 6;
        }
        HWND window = MakeWindow();
        ASSERT_TRUE(IsWindow(window));
        KillTimer(window, 1);
        std::vector<std::string> setUp = seam.order;
        seam.order.clear();
        recordInput = true;
        inputCalls.clear();
        EXPECT_EQ(FernWindowProc(window, WM_QUERYNEWPALETTE, 0, 0), needs ? 1 : 0x5A5A);
        EXPECT_EQ(FernWindowProc(window, WM_PALETTECHANGED, WPARAM(window), 0), 0x5A5A);
        EXPECT_EQ(inputCalls.size(), needs ? 1u : 2u);
        FernWindowProc(window, WM_TIMER, 1, 0);
        std::vector<std::string> asked = seam.order;
        recordInput = false;
        DestroyWindow(window);
        QuitPosted();
        using Calls = std::vector<std::string>;
        setUp.resize(needs ? 3 : setUp.size()); // showing the window may ask again
        EXPECT_EQ(setUp, (needs ? Calls{"SelectPalette", "RealizePalette", "wglCreateContext"}
                                : Calls{"wglCreateContext"}));
        EXPECT_EQ(asked, (needs ? Calls{"SelectPalette", "RealizePalette", "SelectPalette",
                                        "RealizePalette"}
                                : Calls{}));
        ASSERT_EQ(seam.palettes.size(), needs ? 1u : 0u);
        if (!needs)
            continue;
        EXPECT_EQ(seam.order.back(), "SelectPalette(default)");
        EXPECT_EQ(seam.deletedObjects.size(), 1u);
        const std::vector<PALETTEENTRY>& p = seam.palettes[0];
        ASSERT_EQ(p.size(), 256u);
        // Black, red, green, blue, red 3 green 2 blue 1, white.
        for (auto [i, want] : {std::pair{0x00, RGB(0, 0, 0)},
                               {0x07, RGB(255, 0, 0)},
                               {0x38, RGB(0, 255, 0)},
                               {0xC0, RGB(0, 0, 255)},
                               {0x53, RGB(109, 73, 85)},
                               {0xFF, RGB(255, 255, 255)}})
            EXPECT_EQ(RGB(p[i].peRed, p[i].peGreen, p[i].peBlue), want) << i;
    }
}
