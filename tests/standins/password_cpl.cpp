// Test stand-in for the platform's PASSWORD.CPL: answers with the number in
// verifier.answer beside it (0 when there is none), and while verifier.hold
// exists it waits as a prompt does, running a message loop. Each call is
// logged to verifier.log as "ask WINDOW CLASS|TITLE TICK" and "end TICK ANSWER".
#include "standin_log.h"

#ifndef WITHOUT_ENTRY
extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    std::string log = BesideModule("verifier.log");
    char cls[64] = "", title[64] = "";
    GetClassNameA(window, cls, sizeof cls);
    GetWindowTextA(window, title, sizeof title);
    AppendLine(log, "ask " + Number(window) + " " + cls + "|" + title + " " +
                        std::to_string(GetTickCount()));
    while (Exists(BesideModule("verifier.hold"))) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
    }
    BOOL answer = 0;
    if (FILE* f = std::fopen(BesideModule("verifier.answer").c_str(), "r")) {
        if (std::fscanf(f, "%d", &answer) != 1)
            answer = 0;
        std::fclose(f);
    }
    AppendLine(log, "end " + std::to_string(GetTickCount()) + " " + std::to_string(answer));
    return answer;
}
#endif
