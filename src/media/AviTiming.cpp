#include "media/AviTiming.h"

#include <algorithm>

namespace AviTiming {
namespace {

uint32_t Clamp32(uint64_t value) { return value > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(value); }

} // namespace

uint32_t MicrosecondsPerFrame(uint32_t rate, uint32_t scale) {
  if (rate == 0) {
    return 0;
  }
  const uint32_t perUnit = kMicrosecondsPerSecond / rate;
  if (perUnit != 0) {
    return Clamp32(static_cast<uint64_t>(perUnit) * scale);
  }
  return Clamp32(static_cast<uint64_t>(scale) * kMicrosecondsPerSecond / rate);
}

uint32_t SamplesPerFrame(bool hasVideo, uint32_t scale, uint32_t rate, uint32_t samplesPerSecond) {
  const uint64_t samples = hasVideo && rate != 0 ? static_cast<uint64_t>(scale) * samplesPerSecond / rate
                                                 : samplesPerSecond / kDefaultFramesPerSecond;
  return std::max<uint32_t>(Clamp32(samples), 1);
}

uint32_t FramesPerSecond(uint32_t microsecondsPerFrame) {
  if (microsecondsPerFrame == 0) {
    return kDefaultFramesPerSecond;
  }
  return std::max<uint32_t>(kMicrosecondsPerSecond / microsecondsPerFrame, 1);
}

Buffers SoundBuffers(uint32_t initialFrames, uint32_t microsecondsPerFrame, uint32_t averageBytesPerSecond,
                     uint32_t blockAlign, uint32_t dataSize) {
  const uint32_t framesPerSecond = FramesPerSecond(microsecondsPerFrame);
  const uint64_t block = std::max<uint32_t>(blockAlign, 1);
  const uint64_t wholeData = std::max<uint64_t>((uint64_t{dataSize} + block - 1) / block * block, block);
  const uint64_t frameSound = static_cast<uint64_t>(averageBytesPerSecond / framesPerSecond) + block;
  Buffers buffers;
  buffers.size = Clamp32(std::min({frameSound, wholeData, std::max<uint64_t>(kMaxSoundBufferBytes, block)}));
  const uint64_t filled = (uint64_t{dataSize} + buffers.size - 1) / buffers.size;
  buffers.count =
      Clamp32(std::max<uint64_t>(std::min<uint64_t>(initialFrames != 0 ? initialFrames : framesPerSecond, filled), 1));
  return buffers;
}

uint32_t LoanLength(uint32_t offset, uint32_t wanted, uint32_t dataSize, uint32_t bufferSize, uint32_t blockAlign) {
  if (offset >= dataSize || blockAlign == 0) {
    return 0;
  }
  const uint32_t length = std::min({wanted, bufferSize, dataSize - offset});
  return length - length % blockAlign;
}

} // namespace AviTiming
