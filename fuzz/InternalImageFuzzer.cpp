// Takes any bytes as a picture of the internal format and reads it as the
// player does: opened from its first bytes and whole, every frame decoded in
// order and some again out of order, with and without a key colour whose
// mask follows each frame. The input is copied into a block of exactly its
// length, so a read past it is a sanitizer report; the decoded picture must
// keep the size its header gave.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "images/InternalImageReader.h"

namespace {

// Enough frames to reach the later ones of a small animation.
constexpr int32_t kMaximumFrames = 64;
// Pictures the reader accepts may take up to 256 MiB; the fuzzer keeps to
// small ones, which reach every path many times faster.
constexpr uint64_t kMaximumFuzzedPicture = 1 << 20;

bool SmallPicture(const uint8_t *data, size_t size) {
  InternalImageDecoder::Header header;
  if (!InternalImageDecoder::ReadHeader(data, static_cast<uint32_t>(size), size, header))
    return true; // refused anyway, and cheaply
  const BitmapInfoHeader *info = header.GetInfo();
  const uint64_t rows =
      static_cast<uint64_t>(info->biHeight < 0 ? -static_cast<int64_t>(info->biHeight) : info->biHeight);
  return static_cast<uint64_t>(info->biWidth) * rows * info->biBitCount / 8 <= kMaximumFuzzedPicture;
}

void ReadFrames(InternalImageReader &reader) {
  uint32_t count = 0, timing = 0;
  reader.GetTiming(count, timing);
  const int32_t width = reader.GetWidth(), height = reader.GetHeight();
  const int32_t frames = count > static_cast<uint32_t>(kMaximumFrames) ? kMaximumFrames : static_cast<int32_t>(count);
  for (int32_t frame = 0; frame < frames; ++frame) {
    reader.ReadFrame(frame);
    if (reader.GetWidth() != width || reader.GetHeight() != height)
      std::abort();
  }
  reader.ReadFrame(0);
  reader.ReadFrame(frames - 1);
  reader.ReadFrame(frames);
  if (DibImage *mask = reader.GetMaskImage())
    if (mask->GetWidth() != width || mask->GetHeight() != height)
      std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0 || size > UINT32_MAX || !SmallPicture(data, size))
    return 0;
  for (int32_t key : {-1, 0xFF00FF, 0x1000000 + 3}) {
    for (bool whole : {true, false}) {
      InternalImageReader reader(0, key);
      reader.SetMemoryCopy(std::vector<uint8_t>(data, data + size));
      if (reader.Open(whole))
        ReadFrames(reader);
    }
  }
  return 0;
}
