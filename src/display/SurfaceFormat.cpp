#include "display/SurfaceFormat.h"

namespace {

constexpr int32_t kPaletteDepth = 8;
constexpr int32_t kDeepDepth = 24;
constexpr int64_t kBitsPerByte = 8;
constexpr int64_t kRowAlignment = 4;

} // namespace

SurfaceFormat SurfaceFormat::Choose(int32_t depth, bool dibAsked, int32_t screenDepth) {
  SurfaceFormat format;
  format.dib = dibAsked || depth != screenDepth;
  format.depth = depth;
  if (format.dib) {
    format.depth = depth > kPaletteDepth ? kDeepDepth : kPaletteDepth;
  }
  return format;
}

uint64_t SurfaceFormat::ByteSize(int64_t width, int64_t height, int32_t depth) {
  if (width <= 0 || height <= 0 || depth <= 0) {
    return 0;
  }
  const int64_t rowBytes =
      (width * depth + kBitsPerByte * kRowAlignment - 1) / (kBitsPerByte * kRowAlignment) * kRowAlignment;
  if (static_cast<uint64_t>(height) > UINT64_MAX / static_cast<uint64_t>(rowBytes)) {
    return UINT64_MAX;
  }
  return static_cast<uint64_t>(rowBytes) * static_cast<uint64_t>(height);
}
