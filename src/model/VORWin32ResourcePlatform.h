#pragma once

#include "model/VORResourcePlatform.h"

// GlobalMemoryStatus and the version query for the figures, GlobalAlloc for
// global memory, the C++ heap for small blocks, the application's tick time
// for the clock.
VORResourcePlatform VORMakeWin32ResourcePlatform();
