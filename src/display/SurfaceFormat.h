#pragma once

#include <cstdint>

// The kind of bitmap an off-screen surface holds: a DIB section of its own
// depth, or a bitmap compatible with the screen at the screen's depth.
struct SurfaceFormat {
  bool dib = false;
  int32_t depth = 0;

  bool operator==(const SurfaceFormat &other) const { return dib == other.dib && depth == other.depth; }

  // A depth the screen does not have needs a DIB; a DIB is 8 bits
  // (palette) or 24 bits deep.
  static SurfaceFormat Choose(int32_t depth, bool dibAsked, int32_t screenDepth);
  // The bytes a bitmap of this depth and size takes, rows padded to four
  // bytes; computed in 64 bits, as the size may come from a file.
  static uint64_t ByteSize(int64_t width, int64_t height, int32_t depth);
};
