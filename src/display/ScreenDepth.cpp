#include "display/ScreenDepth.h"

#include <windows.h>

namespace {

// 0: not known.
int32_t g_depth = 0;

} // namespace

namespace ScreenDepth {

int32_t Get() {
  if (g_depth == 0) {
    HDC screen = ::GetDC(nullptr);
    g_depth = ::GetDeviceCaps(screen, BITSPIXEL);
    ::ReleaseDC(nullptr, screen);
  }
  return g_depth;
}

void Forget() { g_depth = 0; }

} // namespace ScreenDepth
