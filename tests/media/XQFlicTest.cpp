#include <gtest/gtest.h>

#include <functional>

#include "media/XQFlic.h"
#include "support/FlicWriter.h"

namespace {

using FlicWriter::Animation;
using FlicWriter::ColorPacket;
using FlicWriter::Kind;
using FlicWriter::Picture;

// The picture's pixels row by row from the top line of the animation.
Picture Pixels(XQFlic &flic) {
  const DibImage *frame = flic.GetFrameImage();
  Picture pixels;
  for (int32_t y = 0; y < frame->GetHeight(); ++y) {
    const uint8_t *row = frame->GetRowAddress(y);
    pixels.insert(pixels.end(), row, row + frame->GetWidth());
  }
  return pixels;
}

Animation Small(Kind kind, uint16_t width, uint16_t height, std::vector<FlicWriter::Frame> frames) {
  Animation animation;
  animation.kind = kind;
  animation.width = width;
  animation.height = height;
  animation.speed = 40;
  animation.frames = std::move(frames);
  return animation;
}

// Opens the file and reads frame index; the file is kept alive by the fixture.
class FlicFixture : public ::testing::Test {
protected:
  bool Open(const Animation &animation) {
    m_bytes = FlicWriter::Write(animation);
    return m_flic.OpenMemory(m_bytes.data(), m_bytes.data() + m_bytes.size());
  }
  Picture FrameAt(uint32_t index) {
    int32_t delay = 0;
    EXPECT_TRUE(m_flic.ReadFrame(index, delay));
    EXPECT_EQ(delay, XQVideoStream::kNoDelay);
    return Pixels(m_flic);
  }

  std::vector<uint8_t> m_bytes;
  XQFlic m_flic;
};

TEST_F(FlicFixture, ColorPacketsSkipAndKeepUnnamedEntries) {
  const std::vector<uint8_t> all(256 * 3, 1);
  ASSERT_TRUE(Open(Small(Kind::kFli, 4, 1,
                         {{FlicWriter::Colors(4, {ColorPacket{0, all}}),
                           FlicWriter::Colors(4, {ColorPacket{2, {10, 20, 30, 40, 50, 60}}, ColorPacket{1, {7, 8, 9}}}),
                           FlicWriter::Black()}})));
  const RgbQuad *table = m_flic.GetFrameImage()->GetColorTable();
  const RgbQuad expected[] = {{1, 1, 1, 0}, {1, 1, 1, 0}, {30, 20, 10, 0}, {60, 50, 40, 0},
                              {1, 1, 1, 0}, {9, 8, 7, 0}, {1, 1, 1, 0}};
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(table[i].red, expected[i].red) << i;
    EXPECT_EQ(table[i].green, expected[i].green) << i;
    EXPECT_EQ(table[i].blue, expected[i].blue) << i;
    EXPECT_EQ(table[i].reserved, 0) << i;
  }
}

TEST_F(FlicFixture, SixtyFourLevelColoursAreShiftedUp) {
  ASSERT_TRUE(Open(Small(Kind::kFli, 4, 1, {{FlicWriter::Colors(11, {ColorPacket{0, {63, 1, 32}}})}})));
  const RgbQuad entry = m_flic.GetFrameImage()->GetColorTable()[0];
  EXPECT_EQ(entry.red, 252);
  EXPECT_EQ(entry.green, 4);
  EXPECT_EQ(entry.blue, 128);
}

// Each row chunk on a small picture with the exact pixels it must leave.
TEST_F(FlicFixture, RowChunksGiveTheirPixels) {
  const Picture start = {1, 1, 1, 1, 1, //
                         2, 2, 2, 2, 2, //
                         3, 3, 3, 3, 3};
  struct Case {
    const char *name;
    FlicWriter::Chunk chunk;
    Picture expected;
  };
  const std::vector<Case> cases = {
      {"byte run: a run, then a copy",
       FlicWriter::Raw(15, {0, 3, 7, 0xFE, 8, 9, /**/ 0, 0xFB, 1, 2, 3, 4, 5, /**/ 0, 5, 6}),
       {7, 7, 7, 8, 9, 1, 2, 3, 4, 5, 6, 6, 6, 6, 6}},
      {"line delta: skip a line, copy then fill",
       FlicWriter::Raw(12, {1, 0, 1, 0, 2, 1, 2, 8, 9, 0, 0xFE, 4}),
       {1, 1, 1, 1, 1, 2, 8, 9, 4, 4, 3, 3, 3, 3, 3}},
      {"word delta: line skip, last pixel, copy and fill words",
       FlicWriter::Raw(7, {2, 0, /*skip 1*/ 0xFF, 0xFF, /*last 6*/ 6, 0x80, 1, 0, /*skip 0 copy 1 word*/ 0, 1, 4, 5,
                           /*next line*/ 1, 0, 2, 0xFF, 8, 9}),
       {1, 1, 1, 1, 1, 4, 5, 2, 2, 6, 3, 3, 8, 9, 3}},
      {"black", FlicWriter::Black(), Picture(15, 0)},
      {"copy",
       FlicWriter::Copy({9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 10, 11, 12, 13, 14}),
       {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 10, 11, 12, 13, 14}},
  };
  for (const Case &c : cases) {
    ASSERT_TRUE(Open(Small(Kind::kFlc, 5, 3, {{FlicWriter::Copy(start)}, {c.chunk}}))) << c.name;
    EXPECT_EQ(FrameAt(0), start) << c.name;
    EXPECT_EQ(FrameAt(1), c.expected) << c.name;
  }
}

// Counts and skips that point outside the picture lose what falls outside
// and nothing else (the sanitizers watch the writes).
TEST_F(FlicFixture, WritesOutsideThePictureAreDropped) {
  const Picture start(4 * 2, 1);
  struct Case {
    const char *name;
    FlicWriter::Chunk chunk;
    Picture expected;
  };
  const std::vector<Case> cases = {
      {"byte run longer than the line", FlicWriter::Raw(15, {0, 100, 5, 0, 0x80, 1, 2, 3}), {5, 5, 5, 5, 1, 2, 3, 0}},
      {"line delta copy past the width",
       FlicWriter::Raw(12, {0, 0, 1, 0, 1, 3, 5, 7, 7, 7, 7, 7}),
       {1, 1, 1, 7, 1, 1, 1, 1}},
      {"line delta fill from a skip far past the width",
       FlicWriter::Raw(12, {0, 0, 2, 0, 2, 255, 0x80, 4, 255, 1, 4, 1, 0, 0x81, 3}),
       {1, 1, 1, 1, 3, 3, 3, 3}},
      {"line delta starting below the picture", FlicWriter::Raw(12, {0xE8, 0x03, 1, 0, 1, 0, 2, 9, 9}), start},
      {"line delta with more lines than the picture",
       FlicWriter::Raw(12, {1, 0, 0xFF, 0xFF, 1, 0, 1, 6, 1, 0, 1, 6}),
       {1, 1, 1, 1, 6, 1, 1, 1}},
      {"word delta skipping past the height", FlicWriter::Raw(7, {2, 0, 0x00, 0xC0, 1, 0, 0, 1, 9, 9}), start},
      {"word delta words past the width", FlicWriter::Raw(7, {1, 0, 1, 0, 2, 0x80, 4, 5}), {1, 1, 4, 5, 1, 1, 1, 1}},
      {"word delta with many line skips",
       FlicWriter::Raw(7, {3, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 1, 2, 2}), start},
  };
  for (const Case &c : cases) {
    ASSERT_TRUE(Open(Small(Kind::kFlc, 4, 2, {{FlicWriter::Copy(start)}, {c.chunk}}))) << c.name;
    EXPECT_EQ(FrameAt(1), c.expected) << c.name;
  }
  // Colours past the table's end are read and dropped.
  std::vector<uint8_t> rgb(5 * 3, 0x40);
  ASSERT_TRUE(Open(Small(Kind::kFlc, 4, 2, {{FlicWriter::Colors(4, {ColorPacket{255, rgb}, ColorPacket{255, rgb}})}})));
  EXPECT_EQ(m_flic.GetFrameImage()->GetColorTable()[255].red, 0x40);
  EXPECT_EQ(m_flic.GetFrameImage()->GetColorTable()[0].red, 0);
}

TEST_F(FlicFixture, HeadersAndFramesThatAreRefused) {
  auto good = [] { return Small(Kind::kFlc, 4, 2, {{FlicWriter::Black()}}); };
  ASSERT_TRUE(Open(good()));
  struct Case {
    const char *name;
    std::function<void(Animation &)> change;
    std::function<void(std::vector<uint8_t> &)> damage;
  };
  const std::vector<Case> cases = {
      {"FLC of depth 16", [](Animation &a) { a.depth = 16; }, nullptr},
      {"FLC with flags 0", [](Animation &a) { a.flags = 0; }, nullptr},
      {"no frames", [](Animation &a) { a.frames.clear(); }, nullptr},
      {"width 0", [](Animation &a) { a.width = 0; }, nullptr},
      {"height 0", [](Animation &a) { a.height = 0; }, nullptr},
      {"a frame too large to hold", [](Animation &a) { a.width = a.height = 0xFFFF; }, nullptr},
      // 65535 x 32767: 2 GB from a 128-byte header; 16384 x 16385: just past
      // the player's one limit on pictures.
      {"a frame of 2 GB", [](Animation &a) { a.width = 0xFFFF, a.height = 0x7FFF; }, nullptr},
      {"a frame past 256 MiB", [](Animation &a) { a.width = 16384, a.height = 16385; }, nullptr},
      {"another magic", nullptr, [](std::vector<uint8_t> &b) { b[5] = 0xAA; }},
      {"a header cut short", nullptr, [](std::vector<uint8_t> &b) { b.resize(100); }},
      {"a frame of another kind", nullptr, [](std::vector<uint8_t> &b) { b[128 + 4] = 0; }},
      {"a frame ending past the data", nullptr, [](std::vector<uint8_t> &b) { b.pop_back(); }},
      {"a chunk shorter than its header", nullptr, [](std::vector<uint8_t> &b) { b[128 + 16] = 2; }},
  };
  for (const Case &c : cases) {
    Animation animation = good();
    if (c.change) {
      c.change(animation);
    }
    m_bytes = FlicWriter::Write(animation);
    if (c.damage) {
      c.damage(m_bytes);
    }
    EXPECT_FALSE(m_flic.OpenMemory(m_bytes.data(), m_bytes.data() + m_bytes.size())) << c.name;
    EXPECT_FALSE(m_flic.IsOpen()) << c.name;
    EXPECT_EQ(m_flic.GetFrameImage(), nullptr) << c.name;
  }
  // An FLI takes whatever flags it has.
  Animation fli = Small(Kind::kFli, 4, 2, {{FlicWriter::Black()}});
  fli.flags = 0x1234;
  EXPECT_TRUE(Open(fli));
}

TEST_F(FlicFixture, TimingComesFromTheSpeedInEachKindsUnits) {
  struct Case {
    Kind kind;
    uint32_t speed;
    uint32_t microseconds;
  };
  for (const Case &c : {Case{Kind::kFli, 5, 71428}, Case{Kind::kFli, 0xFFFF, 936214285}, Case{Kind::kFlc, 40, 40000},
                        Case{Kind::kFlc, 0xFFFFFFFF, 0xFFFFFFFF}}) {
    Animation animation = Small(c.kind, 2, 2, {{FlicWriter::Black()}, {}, {}});
    animation.speed = c.speed;
    ASSERT_TRUE(Open(animation));
    uint32_t frames = 0;
    uint32_t microseconds = 0;
    m_flic.GetTiming(frames, microseconds);
    EXPECT_EQ(frames, 3u);
    EXPECT_EQ(microseconds, c.microseconds) << c.speed;
  }
}

// Frame i shows i in its first pixel; the ring frame leaves a mark (99) in
// the second pixel that no other frame touches, so a picture that shows the
// mark was reached by playing on through the ring frame, not by a rewind.
Animation Numbered(Kind kind, uint16_t count) {
  Animation animation = Small(kind, 4, 1, {});
  for (uint16_t i = 0; i < count; ++i) {
    animation.frames.push_back({FlicWriter::Raw(12, {0, 0, 1, 0, 1, 0, 1, static_cast<uint8_t>(i)})});
  }
  animation.frames[0].insert(animation.frames[0].begin(), FlicWriter::Black());
  animation.hasRingFrame = true;
  animation.ringFrame = {FlicWriter::Raw(12, {0, 0, 1, 0, 1, 0, 2, 0, 99})};
  return animation;
}

TEST_F(FlicFixture, SeekingBackRewindsEarlyAndPlaysOnThroughTheRingLate) {
  for (Kind kind : {Kind::kFli, Kind::kFlc}) {
    ASSERT_TRUE(Open(Numbered(kind, 8)));
    EXPECT_EQ(FrameAt(5), (Picture{5, 0, 0, 0}));
    // 5 is below 3/4 of 8: back to the start.
    EXPECT_EQ(FrameAt(2), (Picture{2, 0, 0, 0}));
    EXPECT_EQ(FrameAt(7), (Picture{7, 0, 0, 0}));
    // 7 is in the last quarter: on through the ring frame to the loop point.
    EXPECT_EQ(FrameAt(0), (Picture{0, 99, 0, 0}));
    EXPECT_EQ(FrameAt(1), (Picture{1, 99, 0, 0}));
    EXPECT_EQ(FrameAt(7), (Picture{7, 99, 0, 0}));
    EXPECT_EQ(FrameAt(2), (Picture{2, 99, 0, 0}));
    EXPECT_EQ(m_flic.GetCurrentFrame(), 2u);
  }
}

TEST_F(FlicFixture, FramesPastTheCountAreRefusedAtOnce) {
  ASSERT_TRUE(Open(Numbered(Kind::kFlc, 4)));
  int32_t delay = 0;
  for (uint32_t index : {4u, 5u, 0xFFFFu, 0xFFFFFFFFu}) {
    EXPECT_FALSE(m_flic.ReadFrame(index, delay)) << index;
  }
  EXPECT_EQ(FrameAt(3), (Picture{3, 0, 0, 0}));
}

// A frame that cannot be read leaves the stream to start again from the
// first frame on the next read.
TEST_F(FlicFixture, AFrameThatFailsRestartsTheNextRead) {
  Animation animation = Numbered(Kind::kFli, 4);
  m_bytes = FlicWriter::Write(animation);
  // The third frame's magic is broken.
  const uint32_t first = 128;
  const uint32_t second = first + (m_bytes[first] | m_bytes[first + 1] << 8);
  const uint32_t third = second + (m_bytes[second] | m_bytes[second + 1] << 8);
  m_bytes[third + 4] = 0;
  ASSERT_TRUE(m_flic.OpenMemory(m_bytes.data(), m_bytes.data() + m_bytes.size()));
  int32_t delay = 0;
  EXPECT_FALSE(m_flic.ReadFrame(3, delay));
  EXPECT_EQ(m_flic.GetCurrentFrame(), XQFlic::kNoFrame);
  EXPECT_EQ(FrameAt(1), (Picture{1, 0, 0, 0}));
}

TEST_F(FlicFixture, EncodedAnimationsRoundTrip) {
  const uint16_t width = 7;
  const uint16_t height = 5;
  std::vector<Picture> pictures;
  for (int i = 0; i < 6; ++i) {
    Picture picture(width * height);
    for (size_t p = 0; p < picture.size(); ++p) {
      picture[p] = static_cast<uint8_t>((p * (i + 1) / 3 + (p % 4 == 0 ? i : 0)) & 0xFF);
    }
    pictures.push_back(picture);
  }
  std::vector<uint8_t> palette(256 * 3);
  for (size_t i = 0; i < palette.size(); ++i) {
    palette[i] = static_cast<uint8_t>(i * 7);
  }
  for (Kind kind : {Kind::kFli, Kind::kFlc}) {
    m_bytes = FlicWriter::Encode(kind, width, height, 3, palette, pictures);
    ASSERT_TRUE(m_flic.OpenMemory(m_bytes.data(), m_bytes.data() + m_bytes.size()));
    for (uint32_t i = 0; i < pictures.size(); ++i) {
      EXPECT_EQ(FrameAt(i), pictures[i]) << i;
    }
    EXPECT_EQ(FrameAt(0), pictures[0]);
    EXPECT_EQ(FrameAt(1), pictures[1]);
  }
}

} // namespace
