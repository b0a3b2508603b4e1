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
// unhandled-exception filter undoes what would outlive the process
// (VORRestoreAfterFault), formats the report and lets the process end
// without the teardown.
LONG WINAPI TranslateStructuredException(EXCEPTION_POINTERS *information);

// What a run changed outside the process and only its teardown gives back:
// the display mode and the fonts added from the publication's folder.
// Restored from fixed notes, without allocating or walking the heap, which
// the fault may have left broken.
void VORRestoreAfterFault();

// Installs both; called first thing in the run.
void VORInstallExceptionHandlers();
