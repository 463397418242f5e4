#include "fault_guard.h"

#include <windows.h>

extern "C" void GuardResume();

// The language-specific handler of RunGuarded's frame: it plays the part of
// an __except filter that asks the platform's default fault report.
extern "C" EXCEPTION_DISPOSITION GuardHandler(EXCEPTION_RECORD* record, void* frame,
                                              CONTEXT* context, DISPATCHER_CONTEXT* dispatch) {
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND))
        return ExceptionContinueSearch;
    EXCEPTION_POINTERS pointers = {record, context};
    LONG verdict = UnhandledExceptionFilter(&pointers);
    if (verdict == EXCEPTION_CONTINUE_EXECUTION)
        return ExceptionContinueExecution;
    if (verdict != EXCEPTION_EXECUTE_HANDLER)
        return ExceptionContinueSearch;
    RtlUnwindEx(frame, reinterpret_cast<void*>(GuardResume), record, nullptr, context,
                dispatch->HistoryTable);
    return ExceptionContinueSearch; // not reached: the unwind does not return
}
