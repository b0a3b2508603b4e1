#pragma once

#include <exception>

// Window procedures, dialog procedures and other callbacks that Windows calls
// must not let a C++ exception escape: the unwinder cannot cross the system's
// frames. A callback runs its body through Call; an exception is kept, the
// message loop is asked to end, and the program's main routine rethrows it
// with RethrowPending once the loop is over.
class XQCallbackGuard {
public:
  template <typename Result, typename Body>
  static Result Call(Result fallback, Body &&body) noexcept {
    try {
      return body();
    } catch (...) {
      Keep(std::current_exception());
      return fallback;
    }
  }

  // Keeps the first exception (later ones are dropped: the first is the cause)
  // and posts WM_QUIT.
  static void Keep(std::exception_ptr exception) noexcept;
  static bool HasPending() noexcept;
  static void RethrowPending();
  // Drops a kept exception without rethrowing it.
  static void DiscardPending() noexcept;
};
