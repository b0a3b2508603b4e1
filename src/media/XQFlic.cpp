#include "media/XQFlic.h"

#include <cstring>

namespace {

uint16_t Word(const uint8_t *at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }
uint32_t DoubleWord(const uint8_t *at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16 |
         static_cast<uint32_t>(at[3]) << 24;
}

constexpr uint32_t kMagicAt = 4;
constexpr uint32_t kFrameCountAt = 6;
constexpr uint32_t kWidthAt = 8;
constexpr uint32_t kHeightAt = 10;
constexpr uint32_t kDepthAt = 12;
constexpr uint32_t kFlagsAt = 14;
constexpr uint32_t kSpeedAt = 16;
constexpr uint32_t kFirstFrameAt = 80;
constexpr uint32_t kSecondFrameAt = 84;
constexpr uint16_t kDepth = 8;
constexpr uint16_t kFlcFlags = 3;
constexpr uint64_t kFliTicksPerSecond = 70;
constexpr uint64_t kMicrosecondsPerSecond = 1000000;
constexpr uint64_t kMicrosecondsPerMillisecond = 1000;
constexpr uint32_t kColorCount = 256;
// A word-delta opcode's top two bits: 11 skips lines, 10 sets the last pixel.
constexpr uint16_t kOpcodeMask = 0xC000;
constexpr uint16_t kLineSkip = 0xC000;
constexpr uint16_t kLastPixel = 0x8000;

} // namespace

// The bytes of one chunk: reads past its end give 0 and consume nothing.
class XQFlic::ByteReader {
public:
  ByteReader(const uint8_t *at, const uint8_t *end) : m_at(at), m_end(end) {}
  bool Remains() const { return m_at < m_end; }
  uint8_t Byte() { return m_at < m_end ? *m_at++ : 0; }
  int32_t SignedByte() { return static_cast<int8_t>(Byte()); }
  uint16_t Word() {
    const uint8_t low = Byte();
    return static_cast<uint16_t>(low | Byte() << 8);
  }

private:
  const uint8_t *m_at;
  const uint8_t *m_end;
};

// One line of the picture that drops every pixel outside it.
struct XQFlic::LinePainter {
  LinePainter(const DibImage &frame, int64_t y)
      : row(y >= 0 && y < frame.GetHeight() ? frame.GetRowAddress(static_cast<int32_t>(y)) : nullptr),
        width(frame.GetWidth()) {}
  void Put(int64_t x, uint8_t value) const {
    if (row != nullptr && x >= 0 && x < width) {
      row[x] = value;
    }
  }
  uint8_t *row;
  int64_t width;
};

bool XQFlic::OpenMemory(const uint8_t *begin, const uint8_t *end) {
  Close();
  if (begin == nullptr || end < begin || static_cast<uint64_t>(end - begin) < kHeaderSize ||
      static_cast<uint64_t>(end - begin) > UINT32_MAX) {
    return false;
  }
  m_begin = begin;
  m_end = end;
  int32_t delay = kNoDelay;
  if (!ReadHeader() || !ReadFrame(0, delay)) {
    Close();
    return false;
  }
  return true;
}

bool XQFlic::ReadHeader() {
  const uint16_t magic = Word(m_begin + kMagicAt);
  const bool flc = magic == kFlcMagic;
  if ((magic != kFliMagic && !flc) || Word(m_begin + kDepthAt) != kDepth) {
    return false;
  }
  if (flc && Word(m_begin + kFlagsAt) != kFlcFlags) {
    return false;
  }
  m_frameCount = Word(m_begin + kFrameCountAt);
  if (flc) {
    const uint64_t microseconds = DoubleWord(m_begin + kSpeedAt) * kMicrosecondsPerMillisecond;
    m_microsecondsPerFrame = microseconds > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(microseconds);
    // Files whose writer left the frame offsets empty are read as FLI files are.
    m_firstFrame = DoubleWord(m_begin + kFirstFrameAt);
    m_loopPoint = DoubleWord(m_begin + kSecondFrameAt);
    m_loopPointKnown = m_firstFrame != 0 && m_loopPoint != 0;
    if (m_firstFrame == 0) {
      m_firstFrame = kHeaderSize;
    }
  } else {
    m_microsecondsPerFrame =
        static_cast<uint32_t>(Word(m_begin + kSpeedAt) * kMicrosecondsPerSecond / kFliTicksPerSecond);
    m_firstFrame = kHeaderSize;
    m_loopPointKnown = false;
  }

  BitmapInfo256 info{};
  info.header.biSize = kBitmapInfoHeaderSize;
  info.header.biWidth = Word(m_begin + kWidthAt);
  info.header.biHeight = Word(m_begin + kHeightAt);
  info.header.biPlanes = 1;
  info.header.biBitCount = 8;
  info.header.biCompression = kCompressionRgb;
  info.header.biClrUsed = kColorCount;
  // Refuses empty frames and frames too large to hold (a 16-bit width and
  // height multiply to nearly 4 GB).
  DibLayout layout;
  if (!DibImage::ComputeLayout(info.header, layout)) {
    return false;
  }
  info.header.biSizeImage = layout.imageSize;
  return m_frame.Create(&info.header);
}

void XQFlic::Close() {
  m_frame.Release();
  m_begin = nullptr;
  m_end = nullptr;
  m_frameCount = 0;
  m_microsecondsPerFrame = 0;
  m_current = kNoFrame;
  m_next = 0;
}

void XQFlic::GetTiming(uint32_t &frameCount, uint32_t &microsecondsPerFrame) const {
  frameCount = m_frameCount;
  microsecondsPerFrame = m_microsecondsPerFrame;
}

const BitmapInfoHeader *XQFlic::GetFormat() { return m_frame.IsValid() ? m_frame.GetInfo() : nullptr; }

bool XQFlic::ReadFrame(uint32_t index, int32_t &value) {
  value = kNoDelay;
  // A frame past the count is never reached by playing on.
  if (!IsOpen() || index >= m_frameCount) {
    return false;
  }
  // Rewinding is cheaper than playing on only while the current frame is
  // in the first three quarters.
  const bool rewind = m_current == kNoFrame || (index < m_current && m_current < m_frameCount * 3 / 4);
  if (rewind) {
    m_current = kNoFrame;
    m_next = m_firstFrame;
  }
  while (m_current != index) {
    uint32_t next = 0;
    if (!DecodeFrameAt(m_next, next)) {
      m_current = kNoFrame;
      return false;
    }
    if (m_current == kNoFrame) {
      m_current = 0;
      m_next = next;
      if (!m_loopPointKnown) {
        m_loopPoint = next;
        m_loopPointKnown = true;
      }
    } else if (m_current + 1 >= m_frameCount) {
      // That was the ring frame: the picture is the first frame again.
      m_current = 0;
      m_next = m_loopPoint;
    } else {
      ++m_current;
      m_next = next;
    }
  }
  return true;
}

bool XQFlic::DecodeFrameAt(uint32_t offset, uint32_t &next) {
  const uint64_t size = Size();
  if (static_cast<uint64_t>(offset) + kFrameHeaderSize > size) {
    return false;
  }
  const uint8_t *frame = m_begin + offset;
  const uint32_t frameSize = DoubleWord(frame);
  if (Word(frame + 4) != kFrameMagic || frameSize < kFrameHeaderSize ||
      static_cast<uint64_t>(offset) + frameSize > size) {
    return false;
  }
  const uint8_t *frameEnd = frame + frameSize;
  const uint16_t chunkCount = Word(frame + 6);
  const uint8_t *chunk = frame + kFrameHeaderSize;
  for (uint32_t i = 0; i < chunkCount; ++i) {
    if (frameEnd - chunk < static_cast<ptrdiff_t>(kChunkHeaderSize)) {
      break;
    }
    const uint32_t chunkSize = DoubleWord(chunk);
    if (chunkSize < kChunkHeaderSize) {
      return false;
    }
    const bool inFrame = chunkSize <= static_cast<uint64_t>(frameEnd - chunk);
    ByteReader data(chunk + kChunkHeaderSize, inFrame ? chunk + chunkSize : frameEnd);
    DecodeChunk(Word(chunk + 4), data);
    if (!inFrame) {
      break;
    }
    chunk += chunkSize;
  }
  next = offset + frameSize;
  return true;
}

void XQFlic::DecodeChunk(uint16_t type, ByteReader &data) {
  switch (type) {
  case kColor256:
    DecodeColors(data, 0);
    break;
  case kColor64:
    DecodeColors(data, 2);
    break;
  case kByteRun:
    DecodeByteRun(data);
    break;
  case kLineDelta:
    DecodeLineDelta(data);
    break;
  case kWordDelta:
    DecodeWordDelta(data);
    break;
  case kBlack:
    FillBlack();
    break;
  case kCopy:
    DecodeCopy(data);
    break;
  default:
    break; // postage stamps and the like show nothing here
  }
}

void XQFlic::DecodeColors(ByteReader &data, uint32_t shift) {
  RgbQuad *table = m_frame.GetColorTable();
  const uint16_t packets = data.Word();
  uint32_t index = 0;
  for (uint32_t packet = 0; packet < packets && data.Remains(); ++packet) {
    index += data.Byte();
    uint32_t count = data.Byte();
    if (count == 0) {
      count = kColorCount;
    }
    for (uint32_t i = 0; i < count && data.Remains(); ++i, ++index) {
      const auto red = static_cast<uint8_t>(data.Byte() << shift);
      const auto green = static_cast<uint8_t>(data.Byte() << shift);
      const auto blue = static_cast<uint8_t>(data.Byte() << shift);
      if (index < kColorCount) {
        table[index] = RgbQuad{blue, green, red, 0};
      }
    }
  }
}

void XQFlic::DecodeByteRun(ByteReader &data) {
  const int64_t width = m_frame.GetWidth();
  for (int32_t y = 0; y < m_frame.GetHeight() && data.Remains(); ++y) {
    const LinePainter line(m_frame, y);
    data.Byte(); // the packet count of old writers, unreliable
    int64_t x = 0;
    while (x < width && data.Remains()) {
      const int32_t count = data.SignedByte();
      if (count < 0) {
        for (int32_t i = 0; i < -count; ++i) {
          line.Put(x++, data.Byte());
        }
      } else {
        const uint8_t value = data.Byte();
        for (int32_t i = 0; i < count; ++i) {
          line.Put(x++, value);
        }
      }
    }
  }
}

void XQFlic::DecodeLineDelta(ByteReader &data) {
  int64_t y = data.Word();
  const uint16_t lines = data.Word();
  for (uint32_t i = 0; i < lines && data.Remains() && y < m_frame.GetHeight(); ++i, ++y) {
    const LinePainter line(m_frame, y);
    const uint8_t packets = data.Byte();
    int64_t x = 0;
    for (uint32_t packet = 0; packet < packets && data.Remains(); ++packet) {
      x += data.Byte();
      const int32_t count = data.SignedByte();
      if (count < 0) {
        const uint8_t value = data.Byte();
        for (int32_t j = 0; j < -count; ++j) {
          line.Put(x++, value);
        }
      } else {
        for (int32_t j = 0; j < count; ++j) {
          line.Put(x++, data.Byte());
        }
      }
    }
  }
}

void XQFlic::DecodeWordDelta(ByteReader &data) {
  uint32_t lines = data.Word();
  int64_t y = 0;
  while (lines > 0 && data.Remains() && y < m_frame.GetHeight()) {
    uint16_t word = data.Word();
    if ((word & kOpcodeMask) == kLineSkip) {
      y += 0x10000 - word;
      continue;
    }
    bool hasLastPixel = false;
    uint8_t lastPixel = 0;
    if ((word & kOpcodeMask) == kLastPixel) {
      hasLastPixel = true;
      lastPixel = static_cast<uint8_t>(word & 0xFF);
      word = data.Word();
    }
    const LinePainter line(m_frame, y);
    int64_t x = 0;
    for (uint32_t packet = 0; packet < word && data.Remains(); ++packet) {
      x += data.Byte();
      const int32_t count = data.SignedByte();
      if (count >= 0) {
        for (int32_t j = 0; j < count; ++j) {
          line.Put(x++, data.Byte());
          line.Put(x++, data.Byte());
        }
      } else {
        const uint8_t first = data.Byte();
        const uint8_t second = data.Byte();
        for (int32_t j = 0; j < -count; ++j) {
          line.Put(x++, first);
          line.Put(x++, second);
        }
      }
    }
    if (hasLastPixel) {
      line.Put(line.width - 1, lastPixel);
    }
    ++y;
    --lines;
  }
}

void XQFlic::FillBlack() { std::memset(m_frame.GetPixels(), 0, m_frame.GetImageSize()); }

void XQFlic::DecodeCopy(ByteReader &data) {
  for (int32_t y = 0; y < m_frame.GetHeight() && data.Remains(); ++y) {
    const LinePainter line(m_frame, y);
    for (int64_t x = 0; x < line.width; ++x) {
      line.Put(x, data.Byte());
    }
  }
}
