#pragma once

#include <cstdint>
#include <string>
#include <vector>

// RIFF WAVE files as sound tools write them: "RIFF", the form length,
// "WAVE", then chunks of {id, 32-bit length, body, a pad byte after an odd
// body}.
namespace WaveFileWriter {

struct Chunk {
  std::string id;
  std::vector<uint8_t> body;
};

// The 16-byte PCM "fmt " body.
std::vector<uint8_t> PcmFormat(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample);
// The chunks in order; riffLength overrides the form length when set.
std::vector<uint8_t> File(const std::vector<Chunk> &chunks, int64_t riffLength = -1);
// A PCM file of these samples.
std::vector<uint8_t> PcmFile(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample,
                             const std::vector<uint8_t> &data);
// 16-bit mono samples of a sine tone.
std::vector<uint8_t> SineTone16(uint32_t samplesPerSecond, uint32_t frequency, uint32_t sampleCount, int16_t amplitude);

} // namespace WaveFileWriter
