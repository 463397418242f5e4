// The gate's set-up and release on the real registry and loader, with the
// test stand-ins for the platform's PASSWORD.CPL; the running flag is seen
// through the seam.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "host_state.h"
#include "platform_seam.h"
#include "saver_host.h"

namespace {

void StorePassword(const BYTE* data, DWORD size) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key), ERROR_SUCCESS);
    if (data != nullptr)
        RegSetValueExA(key, "ScreenSaveUsePassword", 0, REG_BINARY, data, size);
    else
        RegDeleteValueA(key, "ScreenSaveUsePassword");
    RegCloseKey(key);
}

} // namespace

TEST(PasswordGate, RunningFlagOnlyWhileAVerifierIsHeld) {
    const BYTE one[] = {1, 0, 0, 0}, zero[] = {0, 0, 0, 0}, shortOne[] = {1},
               five[] = {1, 0, 0, 0, 0};
    const struct {
        const char* what;
        bool win9x;
        const char* module;
        const BYTE* value;
        DWORD size;
        bool held;
    } table[] = {
        {"9x, verifier", true, "password_cpl", one, 4, true},
        {"9x, a 1-byte value", true, "password_cpl", shortOne, 1, true},
        {"9x, value 0", true, "password_cpl", zero, 4, false},
        {"9x, a 5-byte value", true, "password_cpl", five, 5, false},
        {"9x, no value", true, "password_cpl", nullptr, 0, false},
        {"9x, module without the entry", true, "password_noentry", one, 4, false},
        {"9x, no module", true, "mpr", one, 4, false},
        {"NT, verifier", false, "password_cpl", one, 4, false},
    };
    for (const auto& c : table) {
        seam = Seam{};
        onWin9x = c.win9x;
        StorePassword(c.value, c.size);
        SetDllDirectoryA((std::string(STANDINS "/") + c.module).c_str());
        LoadPasswordVerifier();
        EXPECT_EQ(passwordModule != nullptr, c.held) << c.what;
        EXPECT_EQ(verifyPasswordFn != nullptr, c.held) << c.what;
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL") != nullptr, c.held) << c.what;
        UnloadPasswordVerifier();
        EXPECT_EQ(passwordModule, nullptr);
        EXPECT_EQ(verifyPasswordFn, nullptr);
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr) << c.what;
        std::vector<UINT> flags;
        for (const auto& call : seam.spiCalls) {
            EXPECT_EQ(call.action, UINT{SPI_SCREENSAVERRUNNING});
            EXPECT_EQ(call.slot, call.param);
            EXPECT_EQ(call.winIni, 0u);
            flags.push_back(call.param);
        }
        const std::vector<UINT> expected = c.held ? std::vector<UINT>{1, 0} : std::vector<UINT>{};
        EXPECT_EQ(flags, expected) << c.what;
    }
    SetDllDirectoryA(nullptr);
    StorePassword(nullptr, 0);
    onWin9x = FALSE;
}
