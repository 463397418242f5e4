#include "fault_guard.h"

#include <windows.h>

extern "C" void GuardResume();

// Asks the platform's default fault report, as an __except filter would.
static LONG AskFaultReport(EXCEPTION_RECORD* record, CONTEXT* context) {
    EXCEPTION_POINTERS pointers = {record, context};
    return UnhandledExceptionFilter(&pointers);
}

#ifdef _WIN64

// The language-specific handler of RunGuarded's frame.
extern "C" EXCEPTION_DISPOSITION GuardHandler(EXCEPTION_RECORD* record, void* frame,
                                              CONTEXT* context, DISPATCHER_CONTEXT* dispatch) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    LONG verdict = AskFaultReport(record, context);
    if (verdict == EXCEPTION_CONTINUE_EXECUTION)
        return ExceptionContinueExecution;
    if (verdict != EXCEPTION_EXECUTE_HANDLER)
        return ExceptionContinueSearch;
    RtlUnwindEx(frame, reinterpret_cast<void*>(GuardResume), record, nullptr, context,
                dispatch->HistoryTable);
    return ExceptionContinueSearch; // not reached: the unwind does not return
}

#else

// The handler of RunGuarded's registration, which sits at `frame`: the saved
// ebp lies 20 bytes above it (fault_guard_x86.S).
extern "C" EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* record, void* frame,
                                                      CONTEXT* context, void*) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    LONG verdict = AskFaultReport(record, context);
    if (verdict == EXCEPTION_CONTINUE_EXECUTION)
        return ExceptionContinueExecution;
    if (verdict != EXCEPTION_EXECUTE_HANDLER)
        return ExceptionContinueSearch;
    // Let the registrations made inside the body see the unwind, then carry
    // on at GuardResume as if RunGuarded's call had returned 0.
    RtlUnwind(frame, nullptr, record, nullptr);
    auto registration = reinterpret_cast<DWORD>(frame);
    context->Esp = registration;
    context->Ebp = registration + 20;
    context->Eip = reinterpret_cast<DWORD>(GuardResume);
    context->Eax = 0;
    return ExceptionContinueExecution;
}

#endif
