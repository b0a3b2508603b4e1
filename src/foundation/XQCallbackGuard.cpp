#include "foundation/XQCallbackGuard.h"

#include <windows.h>

#include "foundation/VORException.h"

namespace {
std::exception_ptr g_pending;

// Exceptions of the player's own family are thrown by pointer; one that is
// dropped must be deleted.
void DeleteIfOwned(std::exception_ptr exception) noexcept {
  try {
    std::rethrow_exception(exception);
  } catch (VORException *owned) {
    delete owned;
  } catch (...) {
  }
}
} // namespace

void XQCallbackGuard::Keep(std::exception_ptr exception) noexcept {
  if (g_pending) {
    DeleteIfOwned(exception);
    return;
  }
  g_pending = exception;
  PostQuitMessage(0);
}

bool XQCallbackGuard::HasPending() noexcept { return static_cast<bool>(g_pending); }

void XQCallbackGuard::RethrowPending() {
  if (!g_pending)
    return;
  std::exception_ptr pending = g_pending;
  g_pending = nullptr;
  std::rethrow_exception(pending);
}

void XQCallbackGuard::DiscardPending() noexcept {
  if (!g_pending)
    return;
  DeleteIfOwned(g_pending);
  g_pending = nullptr;
}
