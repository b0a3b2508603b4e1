#include "display/SystemErrorHook.h"

namespace {

SystemErrorHook g_hook = nullptr;

} // namespace

SystemErrorHook SetSystemErrorHook(SystemErrorHook hook) {
  SystemErrorHook previous = g_hook;
  g_hook = hook;
  return previous;
}

void ReportSystemError(int32_t code) {
  if (g_hook != nullptr) {
    g_hook(code);
  }
}
