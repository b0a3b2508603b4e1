#include <gtest/gtest.h>

#include "media/AviFrame.h"
#include "media/AviTiming.h"

namespace {

TEST(AviTimingTest, MicrosecondsPerFrame) {
  struct Case {
    uint32_t rate;
    uint32_t scale;
    uint32_t expected;
  };
  const Case cases[] = {
      {15, 1, 66666},                    // 1000000 / 15 x 1
      {30000, 1001, 33033},              // NTSC: 33 x 1001, the order files were timed with
      {25, 1, 40000},                    //
      {1000000, 40000, 40000},           // a rate of a million still divides first
      {10000000, 400000, 40000},         // above a million: 0 in that order, so exact
      {0xFFFFFFFF, 0xFFFFFFFF, 1000000}, //
      {0, 1, 0},                         // no rate: no time, no division by zero
      {1, 0xFFFFFFFF, 0xFFFFFFFF},       // clamped
  };
  for (const Case &c : cases) {
    EXPECT_EQ(AviTiming::MicrosecondsPerFrame(c.rate, c.scale), c.expected) << c.rate << "/" << c.scale;
  }
}

TEST(AviTimingTest, SamplesPerFrame) {
  EXPECT_EQ(AviTiming::SamplesPerFrame(true, 1, 15, 22050), 1470u);
  // scale x samples per second passes 32 bits in ordinary files.
  EXPECT_EQ(AviTiming::SamplesPerFrame(true, 1000000, 25000000, 44100), 1764u);
  EXPECT_EQ(AviTiming::SamplesPerFrame(true, 1001, 30000, 48000), 1601u);
  // Without video, or with a rate of 0: fifteenths of a second.
  EXPECT_EQ(AviTiming::SamplesPerFrame(false, 1, 25, 22050), 1470u);
  EXPECT_EQ(AviTiming::SamplesPerFrame(true, 1, 0, 22050), 1470u);
  // Never 0 samples.
  EXPECT_EQ(AviTiming::SamplesPerFrame(true, 1, 1000000, 8000), 1u);
  EXPECT_EQ(AviTiming::SamplesPerFrame(false, 1, 1, 0), 1u);
}

TEST(AviTimingTest, SoundBuffers) {
  constexpr uint32_t kMinute = 60 * 176400;
  // 25 fps, 16-bit stereo 44.1 kHz: 25 buffers of a frame's sound and a block.
  AviTiming::Buffers buffers = AviTiming::SoundBuffers(0, 40000, 176400, 4, kMinute);
  EXPECT_EQ(buffers.count, 25u);
  EXPECT_EQ(buffers.size, 7056u + 4);
  // Initial frames win.
  EXPECT_EQ(AviTiming::SoundBuffers(12, 40000, 176400, 4, kMinute).count, 12u);
  // Half a frame a second is one frame per second, not none.
  buffers = AviTiming::SoundBuffers(0, 2000000, 8000, 1, kMinute);
  EXPECT_EQ(buffers.count, 1u);
  EXPECT_EQ(buffers.size, 8001u);
  // No frame time: the default rate; no block align: a byte.
  buffers = AviTiming::SoundBuffers(0, 0, 15000, 0, kMinute);
  EXPECT_EQ(buffers.count, 15u);
  EXPECT_EQ(buffers.size, 1001u);
}

// The rate is the file's claim; the buffers are what the track can fill.
TEST(AviTimingTest, SoundBuffersAreBoundedByTheTrack) {
  struct Case {
    const char *name;
    uint32_t initialFrames, microsecondsPerFrame, bytesPerSecond, blockAlign, dataSize;
    uint32_t count, size;
  };
  const Case cases[] = {
      // 0xFFFFFFF0 bytes a second over 64 initial frames of a 1000-byte track:
      // one buffer of the whole track.
      {"a rate past any device's", 64, 1000000, 0xFFFFFFF0, 4, 1000, 1, 1000},
      // A track of 10 blocks and a half: the buffer holds whole blocks.
      {"a track shorter than a frame", 0, 40000, 176400, 4, 42, 1, 44},
      // A rate past a second of the richest sound is cut to it.
      {"a long track at a huge rate", 0, 1000000, 0xFFFFFFF0, 4, 0xFFFFFFF0, 1, AviTiming::kMaxSoundBufferBytes},
      // Three frames' sound: three buffers, whatever the initial frames.
      {"a short track", 20, 40000, 176400, 4, 3 * 7060, 3, 7060},
      {"an empty track", 0, 40000, 176400, 4, 0, 1, 4},
  };
  for (const Case &c : cases) {
    const AviTiming::Buffers buffers =
        AviTiming::SoundBuffers(c.initialFrames, c.microsecondsPerFrame, c.bytesPerSecond, c.blockAlign, c.dataSize);
    EXPECT_EQ(buffers.count, c.count) << c.name;
    EXPECT_EQ(buffers.size, c.size) << c.name;
  }
}

TEST(AviTimingTest, LoanLength) {
  EXPECT_EQ(AviTiming::LoanLength(0, 1000, 10000, 4000, 4), 1000u);
  EXPECT_EQ(AviTiming::LoanLength(0, 9000, 10000, 4000, 4), 4000u);    // a buffer
  EXPECT_EQ(AviTiming::LoanLength(9000, 4000, 10000, 4000, 4), 1000u); // the data's end
  EXPECT_EQ(AviTiming::LoanLength(9998, 4000, 10000, 4000, 4), 0u);    // less than a block
  EXPECT_EQ(AviTiming::LoanLength(10000, 4, 10000, 4000, 4), 0u);
  EXPECT_EQ(AviTiming::LoanLength(0xFFFFFFF0, 0xFFFFFFFF, 10000, 4000, 4), 0u);
  EXPECT_EQ(AviTiming::LoanLength(0, 100, 10000, 4000, 0), 0u);
  EXPECT_EQ(AviTiming::LoanLength(0, 1003, 10000, 4000, 4), 1000u);
}

// A packed frame of the library: header, colours, rows.
std::vector<uint32_t> PackedFrame(int32_t width, int32_t height, uint16_t bits, uint32_t colors,
                                  const std::vector<uint8_t> &rows) {
  std::vector<uint32_t> block((40 + colors * 4 + rows.size() + 3) / 4);
  auto *header = reinterpret_cast<BitmapInfoHeader *>(block.data());
  *header = BitmapInfoHeader{40, width, height, 1, bits, 0, 0, 0, 0, colors, 0};
  auto *bytes = reinterpret_cast<uint8_t *>(block.data());
  for (uint32_t i = 0; i < colors; ++i) {
    bytes[40 + i * 4] = static_cast<uint8_t>(i);
  }
  std::copy(rows.begin(), rows.end(), bytes + 40 + colors * 4);
  return block;
}

std::vector<uint8_t> TopRowFirst(const DibImage &frame) {
  std::vector<uint8_t> rows;
  for (int32_t y = 0; y < frame.GetHeight(); ++y) {
    rows.insert(rows.begin() + static_cast<ptrdiff_t>(rows.size()), frame.GetRowAddress(y),
                frame.GetRowAddress(y) + frame.GetStride());
  }
  return rows;
}

TEST(AviFrameTest, FramesOfEitherOrientationBecomeBottomUp) {
  // 24-bit 1 x 2: the top row is red-ish (1, 2, 3), the bottom one (4, 5, 6).
  const std::vector<uint8_t> bottomUp = {4, 5, 6, 0, 1, 2, 3, 0};
  const std::vector<uint8_t> topDown = {1, 2, 3, 0, 4, 5, 6, 0};
  const std::vector<uint8_t> expected = topDown;
  DibImage frame;
  for (const auto &[height, rows] : {std::pair{2, bottomUp}, std::pair{-2, topDown}}) {
    const std::vector<uint32_t> packed = PackedFrame(1, height, 24, 0, rows);
    ASSERT_TRUE(AviFrame::CopyInto(reinterpret_cast<const BitmapInfoHeader *>(packed.data()), frame));
    EXPECT_FALSE(frame.IsTopDown());
    EXPECT_EQ(frame.GetHeight(), 2);
    EXPECT_EQ(TopRowFirst(frame), expected) << height;
  }
  // A frame of another depth makes the picture anew, colours and all.
  const std::vector<uint32_t> packed = PackedFrame(4, 1, 8, 256, {9, 8, 7, 6});
  ASSERT_TRUE(AviFrame::CopyInto(reinterpret_cast<const BitmapInfoHeader *>(packed.data()), frame));
  EXPECT_EQ(frame.GetBitsPerPixel(), 8);
  EXPECT_EQ(frame.GetColorTable()[200].blue, 200);
  EXPECT_EQ(TopRowFirst(frame), (std::vector<uint8_t>{9, 8, 7, 6}));
  // What no DIB can hold is refused.
  EXPECT_FALSE(AviFrame::CopyInto(nullptr, frame));
  const std::vector<uint32_t> huge = PackedFrame(0x7FFFFFFF, 0x7FFFFFFF, 24, 0, {});
  EXPECT_FALSE(AviFrame::CopyInto(reinterpret_cast<const BitmapInfoHeader *>(huge.data()), frame));
}

TEST(AviFrameTest, RequestsKeepEightBitsAndAskTwentyFourOtherwise) {
  const RgbQuad colors[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
  BitmapInfoHeader source{40, 64, -48, 1, 8, 0x31637653 /* compressed */, 3072, 0, 0, 2, 2};
  BitmapInfo256 request = AviFrame::MakeRequest(source, colors, 2);
  EXPECT_EQ(request.header.biBitCount, 8);
  EXPECT_EQ(request.header.biClrUsed, 256u);
  EXPECT_EQ(request.header.biHeight, 48);
  EXPECT_EQ(request.header.biCompression, 0u);
  EXPECT_EQ(request.header.biSizeImage, 0u);
  EXPECT_EQ(request.colors[1].green, 5);
  for (uint16_t bits : {4, 16, 24, 32}) {
    source.biBitCount = bits;
    request = AviFrame::MakeRequest(source, nullptr, 0);
    EXPECT_EQ(request.header.biBitCount, 24) << bits;
    EXPECT_EQ(request.header.biClrUsed, 0u) << bits;
  }
}

// On a palette display a deeper source is still asked for in 24 bits, with
// the display's colours in the table; an 8-bit source keeps its own, and
// a shallower one takes none.
TEST(AviFrameTest, APaletteDisplaysColoursGoWithTheRequestOfADeeperSource) {
  const RgbQuad own[2] = {{1, 2, 3, 0}, {4, 5, 6, 0}};
  const RgbQuad display[3] = {{10, 20, 30, 0}, {40, 50, 60, 0}, {70, 80, 90, 0}};
  struct Case {
    uint16_t bits;
    uint16_t askedBits;
    uint8_t secondGreen;
  };
  for (const Case c : {Case{24, 24, 50}, Case{16, 24, 50}, Case{32, 24, 50}, Case{8, 8, 5}, Case{4, 24, 0}}) {
    const BitmapInfoHeader source{40, 64, 48, 1, c.bits, 0, 0, 0, 0, 0, 0};
    const BitmapInfo256 request = AviFrame::MakeRequest(source, own, 2, display, 3);
    EXPECT_EQ(request.header.biBitCount, c.askedBits) << c.bits;
    EXPECT_EQ(request.header.biClrUsed, c.bits == 8 ? 256u : 0u) << c.bits;
    EXPECT_EQ(request.colors[1].green, c.secondGreen) << c.bits;
    EXPECT_EQ(request.colors[3].green, 0) << c.bits;
  }
}

} // namespace
