// Takes any bytes as a FLI or FLC animation and plays it as a video object
// does: opened from memory, every frame in order, then seeks backwards and
// forwards (rewinds early, plays on through the ring frame late), and frames
// past the count. The input is copied into a block of exactly its length,
// so a read past it is a sanitizer report; the picture must keep its size.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/XQFlic.h"

namespace {

// Enough frames to reach the ring frame of small animations.
constexpr uint32_t kMaximumFrames = 64;
// The decoder takes frames up to 2 GB; the fuzzer keeps to small ones,
// which reach every path many times faster.
constexpr uint64_t kMaximumFuzzedPicture = 1 << 20;

bool SmallPicture(const uint8_t *data, size_t size) {
  if (size < XQFlic::kHeaderSize) {
    return true; // refused anyway, and cheaply
  }
  const uint64_t width = data[8] | data[9] << 8;
  const uint64_t height = data[10] | data[11] << 8;
  return width * height <= kMaximumFuzzedPicture;
}

void Read(XQFlic &flic, uint32_t index, int32_t width, int32_t height) {
  int32_t delay = 0;
  flic.ReadFrame(index, delay);
  const DibImage *frame = flic.GetFrameImage();
  if (frame == nullptr || frame->GetWidth() != width || frame->GetHeight() != height) {
    std::abort();
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size > UINT32_MAX || !SmallPicture(data, size)) {
    return 0;
  }
  const std::vector<uint8_t> copy(data, data + size);
  XQFlic flic;
  if (!flic.OpenMemory(copy.data(), copy.data() + copy.size())) {
    return 0;
  }
  const int32_t width = flic.GetFrameImage()->GetWidth();
  const int32_t height = flic.GetFrameImage()->GetHeight();
  uint32_t count = 0;
  uint32_t microseconds = 0;
  flic.GetTiming(count, microseconds);
  const uint32_t frames = count < kMaximumFrames ? count : kMaximumFrames;
  for (uint32_t i = 0; i < frames; ++i) {
    Read(flic, i, width, height);
  }
  for (uint32_t index : {0u, frames / 2, frames - 1, 1u, count, count + 1}) {
    Read(flic, index, width, height);
  }
  return 0;
}
