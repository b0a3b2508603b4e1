#pragma once

#include <cstdint>

#include "display/DibImage.h"
#include "media/XQVideoStream.h"

// FLI and FLC animations decoded from a memory range the caller keeps:
// 8-bit frames with a 256-colour table, each frame a set of chunks that
// change the colours or the lines of the previous frame. The file's last
// frame (the ring frame) leads from the last frame back to the first, so
// playing on past the end loops without a restart.
//
// Every read is bounded by the range, and every write by the picture:
// packets that run past a line, a line count past the height or colours
// past 256 lose what falls outside.
class XQFlic : public XQVideoStream {
public:
  static constexpr uint32_t kHeaderSize = 128;
  static constexpr uint16_t kFliMagic = 0xAF11;
  static constexpr uint16_t kFlcMagic = 0xAF12;
  static constexpr uint16_t kFrameMagic = 0xF1FA;
  static constexpr uint32_t kFrameHeaderSize = 16;
  static constexpr uint32_t kChunkHeaderSize = 6;
  enum ChunkType : uint16_t {
    kColor256 = 4,
    kColor64 = 11,
    kLineDelta = 12,
    kByteRun = 15,
    kWordDelta = 7,
    kBlack = 13,
    kCopy = 16,
  };

  XQFlic() = default;
  ~XQFlic() override = default;

  // Reads the header, makes the frame picture and decodes the first frame;
  // false (and closed) when any of it fails. The range must outlive the
  // stream's use.
  bool OpenMemory(const uint8_t *begin, const uint8_t *end);

  void Close() override;
  bool HasVideo() const override { return true; }
  bool HasAudio() const override { return false; }
  void GetTiming(uint32_t &frameCount, uint32_t &microsecondsPerFrame) const override;
  const BitmapInfoHeader *GetFormat() override;
  bool ReadFrame(uint32_t index, int32_t &value) override;
  DibImage *GetFrameImage() override { return m_frame.IsValid() ? &m_frame : nullptr; }

  bool IsOpen() const { return m_begin != nullptr; }
  // The frame the picture shows; kNoFrame before the first or after a
  // frame that failed.
  static constexpr uint32_t kNoFrame = 0xFFFFFFFF;
  uint32_t GetCurrentFrame() const { return m_current; }

private:
  class ByteReader;
  struct LinePainter;

  bool ReadHeader();
  bool Restart();
  bool DecodeFrameAt(uint32_t offset, uint32_t &next);
  void DecodeChunk(uint16_t type, ByteReader &data);
  void DecodeColors(ByteReader &data, uint32_t shift);
  void DecodeByteRun(ByteReader &data);
  void DecodeLineDelta(ByteReader &data);
  void DecodeWordDelta(ByteReader &data);
  void FillBlack();
  void DecodeCopy(ByteReader &data);
  uint32_t Size() const { return static_cast<uint32_t>(m_end - m_begin); }

  const uint8_t *m_begin = nullptr;
  const uint8_t *m_end = nullptr;
  DibImage m_frame;
  uint32_t m_frameCount = 0;
  uint32_t m_microsecondsPerFrame = 0;
  uint32_t m_firstFrame = 0;
  uint32_t m_loopPoint = 0;
  bool m_loopPointKnown = false;
  // Where the next frame to decode starts, and which frame the picture shows.
  uint32_t m_next = 0;
  uint32_t m_current = kNoFrame;
};
