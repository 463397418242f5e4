#include "fault_guard.h"

#include <windows.h>

extern "C" void GuardResume();

// Asks the platform's default fault report, as an __except filter would.
static LONG AskFaultReport(EXCEPTION_RECORD* record, CONTEXT* context) {
    EXCEPTION_POINTERS pointers = {record, context};
    return UnhandledExceptionFilter(&pointers);
}

// Leaves the fault for GuardResume, as if RunGuarded's call had returned 0,
// after the handlers of frames inside the body have seen the unwind.
#ifdef _WIN64
static EXCEPTION_DISPOSITION ResumeAtGuard(EXCEPTION_RECORD* record, void* frame, CONTEXT* context,
                                           void* dispatch) {
    RtlUnwindEx(frame, reinterpret_cast<void*>(GuardResume), record, nullptr, context,
                static_cast<DISPATCHER_CONTEXT*>(dispatch)->HistoryTable);
    return ExceptionContinueSearch; // not reached: the unwind does not return
}
#else
// RunGuarded's registration sits at `frame`, its saved ebp 20 bytes above
// (fault_guard_x86.S); the unwind returns here, and the context is resumed.
static EXCEPTION_DISPOSITION ResumeAtGuard(EXCEPTION_RECORD* record, void* frame, CONTEXT* context,
                                           void*) {
    RtlUnwind(frame, nullptr, record, nullptr);
    auto registration = reinterpret_cast<DWORD>(frame);
    context->Esp = registration;
    context->Ebp = registration + 20;
    context->Eip = reinterpret_cast<DWORD>(GuardResume);
    context->Eax = 0;
    return ExceptionContinueExecution;
}
#endif

// The handler of RunGuarded's frame (x64) or exception registration (x86).
extern "C" EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* record, void* frame,
                                                      CONTEXT* context, void* dispatch) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    LONG verdict = AskFaultReport(record, context);
    if (verdict == EXCEPTION_CONTINUE_EXECUTION)
        return ExceptionContinueExecution;
    if (verdict != EXCEPTION_EXECUTE_HANDLER)
        return ExceptionContinueSearch;
    return ResumeAtGuard(record, frame, context, dispatch);
}
