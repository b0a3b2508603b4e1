#include "engine/VORExceptionHandlers.h"

#include <cstdlib>
#include <new>

#include "engine/FontInstaller.h"
#include "engine/VORDisplayMode.h"
#include "foundation/VORException.h"

namespace {
VORNewFailureHandler g_newFailureHandler = nullptr;
// Set while the filter restores: a fault in the restoring itself comes back
// to the filter, which then only reports.
volatile LONG g_restoring = 0;

void *Allocate(std::size_t size) {
  // malloc(0) may answer null; a zero-byte request still needs a distinct block.
  if (void *block = std::malloc(size ? size : 1))
    return block;
  if (g_newFailureHandler)
    g_newFailureHandler(size);
  throw std::bad_alloc();
}
} // namespace

// Replacing the global forms is how the failing size reaches the handler:
// the standard new-handler is called without it. libstdc++'s operator delete
// frees with free(), which matches the malloc above.
void *operator new(std::size_t size) { return Allocate(size); }
void *operator new[](std::size_t size) { return Allocate(size); }

VORNewFailureHandler VORSetNewFailureHandler(VORNewFailureHandler handler) {
  VORNewFailureHandler previous = g_newFailureHandler;
  g_newFailureHandler = handler;
  return previous;
}

void OnNewFailure(std::size_t size) { throw VORNewFailException(size); }

void VORRestoreAfterFault() {
  VORDisplayMode::RestoreAfterFault();
  FontInstaller::RemoveAfterFault();
}

LONG WINAPI TranslateStructuredException(EXCEPTION_POINTERS *information) {
  // The screen and the fonts first: the report below allocates.
  if (InterlockedExchange(&g_restoring, 1) == 0) {
    VORRestoreAfterFault();
    g_restoring = 0;
  }
  const DWORD code = information && information->ExceptionRecord ? information->ExceptionRecord->ExceptionCode : 0;
  VORSEException(code).Report();
  return EXCEPTION_EXECUTE_HANDLER;
}

void VORInstallExceptionHandlers() {
  VORSetNewFailureHandler(OnNewFailure);
  SetUnhandledExceptionFilter(TranslateStructuredException);
}
