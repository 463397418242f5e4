// A structured-exception guard for GCC, which has no __try/__except: runs
// body(context) and returns 1, or returns 0 when a fault inside it was
// handled here because UnhandledExceptionFilter said so.
#pragma once

extern "C" int RunGuarded(void (*body)(void*), void* context);
