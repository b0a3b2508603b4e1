#pragma once

#include <cstdint>
#include <optional>

#include "media/WaveFormat.h"

// Where a RIFF WAVE file keeps its sound: the format of its "fmt " chunk and
// the place of its "data" chunk.
struct RiffWaveLayout {
  WaveFormat format;
  uint32_t dataOffset = 0;
  uint32_t dataLength = 0;
};

// Reads the layout from the first bytes of a file (or resource) of
// fileSize bytes. The "fmt " chunk and the header of the "data" chunk must
// lie within the bytes given, "fmt " first; every length is checked against
// what is there. Chunks of odd length are followed by a pad byte. Nothing
// (no value) when the bytes are not such a file.
namespace RiffWave {

// How many first bytes the readers load to find the two chunks.
constexpr uint32_t kHeaderProbeSize = 512;

std::optional<RiffWaveLayout> ReadLayout(const uint8_t *bytes, uint32_t count, uint64_t fileSize);

} // namespace RiffWave
