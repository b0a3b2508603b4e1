#include "media/RiffWave.h"

#include <cstring>

#include "vorfile/LittleEndian.h"

namespace {

constexpr uint32_t kFileHeaderSize = 12;
constexpr uint32_t kChunkHeaderSize = 8;
constexpr uint32_t kIdSize = 4;

bool HasId(const uint8_t *at, const char *id) { return std::memcmp(at, id, kIdSize) == 0; }

// The chunks of a RIFF form, one after another within the bytes loaded.
// Positions are 64-bit: a length near 4 GB must not wrap them round.
class ChunkWalk {
public:
  ChunkWalk(const uint8_t *bytes, uint32_t count) : m_bytes(bytes), m_count(count) {}

  // Moves to the next chunk with this id; false when none starts a whole
  // header within the bytes.
  bool Find(const char *id) {
    while (m_position + kChunkHeaderSize <= m_count) {
      const uint8_t *header = m_bytes + m_position;
      const uint32_t length = LittleEndianUint32(header + kIdSize);
      const uint64_t body = m_position + kChunkHeaderSize;
      m_position = body + length + (length & 1u);
      if (HasId(header, id)) {
        m_bodyOffset = body;
        m_length = length;
        return true;
      }
    }
    return false;
  }

  uint64_t GetBodyOffset() const { return m_bodyOffset; }
  uint32_t GetLength() const { return m_length; }
  bool BodyIsLoaded() const { return m_bodyOffset + m_length <= m_count; }

private:
  const uint8_t *m_bytes;
  uint64_t m_count;
  uint64_t m_position = kFileHeaderSize;
  uint64_t m_bodyOffset = 0;
  uint32_t m_length = 0;
};

} // namespace

std::optional<RiffWaveLayout> RiffWave::ReadLayout(const uint8_t *bytes, uint32_t count, uint64_t fileSize) {
  if (!bytes || count < kFileHeaderSize || !HasId(bytes, "RIFF") || !HasId(bytes + 8, "WAVE"))
    return std::nullopt;
  const uint32_t riffLength = LittleEndianUint32(bytes + kIdSize);
  if (fileSize < riffLength)
    return std::nullopt;

  ChunkWalk walk(bytes, count);
  if (!walk.Find("fmt ") || !walk.BodyIsLoaded())
    return std::nullopt;
  RiffWaveLayout layout;
  layout.format = WaveFormat::FromChunk(bytes + walk.GetBodyOffset(), walk.GetLength());
  if (!walk.Find("data") || walk.GetLength() > riffLength)
    return std::nullopt;
  layout.dataOffset = static_cast<uint32_t>(walk.GetBodyOffset());
  // A data length that runs past the end of the file is cut to what the
  // file holds: the loans of data never reach beyond it.
  const uint64_t available = fileSize > layout.dataOffset ? fileSize - layout.dataOffset : 0;
  layout.dataLength = static_cast<uint32_t>(walk.GetLength() < available ? walk.GetLength() : available);
  return layout;
}
