#include "display/DisplaySettings.h"

DisplaySettings &GetDisplaySettings() {
  static DisplaySettings settings;
  return settings;
}

bool VectorLoopsSupported() {
#if defined(__x86_64__)
  return true;
#elif defined(__i386__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse2") != 0;
#else
  return false;
#endif
}

PixelLoops SelectedPixelLoops() {
  static const bool supported = VectorLoopsSupported();
  return GetDisplaySettings().mmx && supported ? PixelLoops::kVector : PixelLoops::kPlain;
}

bool WideVectorLoopsSupported() {
#if defined(__i386__) || defined(__x86_64__)
  // The answer covers the system too: AVX2 counts only where the system
  // saves the wide registers.
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
#else
  return false;
#endif
}

bool UseWideVectorLoops(PixelLoops loops) {
  static const bool supported = WideVectorLoopsSupported();
  return loops == PixelLoops::kVector && supported && GetDisplaySettings().wideVectors;
}
