#pragma once

#include <cstdint>

#include "display/PixelSurface.h"

// Reads one pixel of a surface through its lock, as 0xRRGGBB for the 24-bit
// blocks that deep surfaces give, or as the colour-table entry of an 8-bit
// block; and one bit of its mask (true: white, covered).
uint32_t SurfacePixel(PixelSurface &surface, int32_t x, int32_t y);
bool SurfaceMaskBit(PixelSurface &surface, int32_t x, int32_t y);
