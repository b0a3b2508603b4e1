#pragma once

#include <windows.h>

#include <cstddef>

// Allocation failures: the program's operator new calls the installed
// handler with the size it could not get. OnNewFailure throws
// VORNewFailException with that size, so the report names it.
using VORNewFailureHandler = void (*)(std::size_t size);

VORNewFailureHandler VORSetNewFailureHandler(VORNewFailureHandler handler);
[[noreturn]] void OnNewFailure(std::size_t size);

// Faults (access violations and the like) cannot become C++ exceptions here:
// the i686 unwinder cannot cross the system's exception dispatch. The
// unhandled-exception filter formats the report and lets the process end.
LONG WINAPI TranslateStructuredException(EXCEPTION_POINTERS *information);

// Installs both; called first thing in the run.
void VORInstallExceptionHandlers();
