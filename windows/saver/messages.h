// Message numbers the host's decisions look at, usable without windows.h so
// the decisions build and run natively too; saver_input.cpp holds them to
// windows.h.
#pragma once

namespace msg {
constexpr unsigned create = 0x0001, destroy = 0x0002, setText = 0x000C, paint = 0x000F,
                   close = 0x0010, showWindow = 0x0018, activateApp = 0x001C, setCursor = 0x0020,
                   power = 0x0048, help = 0x0053, contextMenu = 0x007B, keyDown = 0x0100,
                   sysKeyDown = 0x0104, sysCommand = 0x0112, timer = 0x0113, mouseMove = 0x0200,
                   lButtonDown = 0x0201, rButtonDown = 0x0204, mButtonDown = 0x0207,
                   powerBroadcast = 0x0218, verify = 0x8000; // WM_APP: the password gate asks
constexpr unsigned long long scNextWindow = 0xF040, scPrevWindow = 0xF050, scScreenSave = 0xF140;
constexpr unsigned long long pwrCriticalResume = 3;
// WM_POWERBROADCAST events.
constexpr unsigned long long pbtQuerySuspend = 0x0, pbtQueryStandby = 0x1, pbtSuspend = 0x4,
                             pbtStandby = 0x5, pbtResumeCritical = 0x6, pbtResumeSuspend = 0x7,
                             pbtResumeStandby = 0x8, pbtPowerStatusChange = 0xA,
                             pbtResumeAutomatic = 0x12;
} // namespace msg
