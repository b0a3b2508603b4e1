#pragma once

// The vector forms of the pixel loops are SSE2 code compiled per function, so
// that the i686 build (whose baseline has no SSE2) carries them beside the
// plain forms and picks one at run time. The blends also have AVX2 forms
// (which bring SSSE3's byte shuffles with them), run only where the
// processor and the system have AVX2 (UseWideVectorLoops).
#if defined(__i386__) || defined(__x86_64__)
#define VOR_SSE2_LOOPS 1
#define VOR_TARGET_SSE2 __attribute__((target("sse2")))
#define VOR_TARGET_AVX2 __attribute__((target("avx2")))
#include <immintrin.h>
#else
#define VOR_SSE2_LOOPS 0
#endif
