#pragma once

#include <cstdint>

// The arithmetic of an AVI's timing and of its sound buffers, apart from
// the platform's AVI library so that every odd rate can be checked.
namespace AviTiming {

constexpr uint32_t kMicrosecondsPerSecond = 1000000;
// The rate assumed where a file gives none: sound is then read in
// fifteenths of a second.
constexpr uint32_t kDefaultFramesPerSecond = 15;

// 1000000 / rate x scale, in that order, as the frames have always been
// timed; where that order gives 0 (rates above a million) the exact value
// in 64 bits; 0 for a rate of 0. At most 0xFFFFFFFF.
uint32_t MicrosecondsPerFrame(uint32_t rate, uint32_t scale);

// Sound samples per video frame: scale x samples per second / rate in 64
// bits (the product overflows 32 bits for ordinary files), or a fifteenth
// of a second without video or without a rate; at least 1.
uint32_t SamplesPerFrame(bool hasVideo, uint32_t scale, uint32_t rate, uint32_t samplesPerSecond);

// Whole frames per second of a frame time: at least 1 (a video of less
// than one frame a second still plays); the default rate for a frame time
// of 0.
uint32_t FramesPerSecond(uint32_t microsecondsPerFrame);

// The largest buffer of a video's sound: a second of eight channels of
// 32-bit samples at 192 kHz, more than any sound device plays.
constexpr uint32_t kMaxSoundBufferBytes = 8 * 4 * 192000;

// The wave player's buffers for a video's sound: the stream's initial
// frames, or one per frame of a second; each a frame's sound and a block.
// A block align of 0 counts as 1. Bounded by what the track holds (the
// format's rate is only a claim): no buffer larger than the track's data
// (in whole blocks) or than kMaxSoundBufferBytes, and no more buffers than
// the data fills.
struct Buffers {
  uint32_t count = 0;
  uint32_t size = 0;
};
Buffers SoundBuffers(uint32_t initialFrames, uint32_t microsecondsPerFrame, uint32_t averageBytesPerSecond,
                     uint32_t blockAlign, uint32_t dataSize);

// How much of a loan can be given: the length asked, at most a buffer and
// at most what is left of the data from offset, cut to whole blocks.
uint32_t LoanLength(uint32_t offset, uint32_t wanted, uint32_t dataSize, uint32_t bufferSize, uint32_t blockAlign);

} // namespace AviTiming
