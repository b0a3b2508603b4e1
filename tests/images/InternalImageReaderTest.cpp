#include "images/InternalImageReader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "model/VORFileKind.h"
#include "model/VORResourceManager.h"
#include "support/DemoPublication.h"
#include "support/FakeApp.h"
#include "support/FakeResourceFile.h"
#include "support/FakeResourcePlatform.h"
#include "support/FuzzFixture.h"
#include "support/InternalImageWriter.h"

namespace {

using namespace InternalImageWriter;

uint32_t Word(const std::vector<uint8_t> &bytes, size_t at) {
  return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
         static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}
std::string Tag(const std::vector<uint8_t> &bytes, size_t at) {
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                     bytes.begin() + static_cast<std::ptrdiff_t>(at) + 4);
}

// A 4 x 2 picture of 8 bits with a full table.
Picture EightBit(std::vector<Frame> frames) {
  Picture picture;
  picture.colours = GreyishTable(256);
  picture.frames = std::move(frames);
  return picture;
}

Frame FrameOf(std::vector<Part> parts) {
  Frame frame;
  frame.parts = std::move(parts);
  return frame;
}

Part WholeRaw(uint8_t first) {
  std::vector<uint8_t> pixels;
  for (uint8_t i = 0; i < 8; ++i)
    pixels.push_back(static_cast<uint8_t>(first + i));
  return RawPart(0, 0, 4, 2, pixels);
}

// The picture's pixel values, rows from the top, bytesPerPixel bytes each
// taken as one little-endian value.
std::vector<uint32_t> Pixels(InternalImageReader &reader, uint32_t bytesPerPixel = 1) {
  std::vector<uint32_t> values;
  DibImage *image = reader.GetFrameImage();
  for (int32_t y = 0; y < image->GetHeight(); ++y) {
    const uint8_t *row = image->GetRowAddress(y);
    for (int32_t x = 0; x < image->GetWidth(); ++x) {
      uint32_t value = 0;
      for (uint32_t b = 0; b < bytesPerPixel; ++b)
        value |= static_cast<uint32_t>(row[x * bytesPerPixel + b]) << (8 * b);
      values.push_back(value);
    }
  }
  return values;
}

std::unique_ptr<InternalImageReader> OpenInMemory(const std::vector<uint8_t> &bytes, int32_t key = -1) {
  auto reader = std::make_unique<InternalImageReader>(0, key);
  reader->SetMemoryCopy(bytes);
  if (!reader->Open(true))
    return nullptr;
  return reader;
}

TEST(InternalImageWriterTest, WritesTheTaggedLayout) {
  Picture picture = EightBit({FrameOf({RawPart(1, 0, 3, 1, {7, 8})})});
  picture.timing = 77;
  const std::vector<uint8_t> bytes = picture.Bytes();
  const uint32_t headerLength = 48 + 4 * 256;
  EXPECT_EQ(Tag(bytes, 0), "VORI");
  EXPECT_EQ(Word(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(Tag(bytes, 8), "HDR ");
  EXPECT_EQ(Word(bytes, 12), headerLength);
  EXPECT_EQ(Word(bytes, 16), 1u) << "frame count";
  EXPECT_EQ(Word(bytes, 20), 77u) << "timing";
  EXPECT_EQ(Word(bytes, 24), 40u) << "DIB header size";
  EXPECT_EQ(Word(bytes, 28), 4u) << "width";
  EXPECT_EQ(Word(bytes, 32), 2u) << "height";
  EXPECT_EQ(Word(bytes, 36), 0x80001u) << "planes 1, depth 8";
  EXPECT_EQ(Word(bytes, 64 + 4), 0x0001FE03u) << "colour entry 1: blue 3, green 254, red 1";
  EXPECT_EQ(Tag(bytes, 16 + headerLength), "INDX");
  EXPECT_EQ(Word(bytes, 20 + headerLength), 8u) << "two entries for one frame";
  const size_t base = 24 + headerLength + 8;
  EXPECT_EQ(Word(bytes, 24 + headerLength), 0u);
  EXPECT_EQ(Word(bytes, 28 + headerLength), bytes.size() - base);
  EXPECT_EQ(Tag(bytes, base), "FRAM");
  EXPECT_EQ(Word(bytes, base + 4), bytes.size() - base - 8);
  EXPECT_EQ(Tag(bytes, base + 8), "FHDR");
  EXPECT_EQ(Word(bytes, base + 12), 8u);
  EXPECT_EQ(Word(bytes, base + 16), 1u) << "part count";
  EXPECT_EQ(Word(bytes, base + 20), 0xFFFFFFFFu) << "no time";
  EXPECT_EQ(Tag(bytes, base + 24), "BMP ");
  EXPECT_EQ(Word(bytes, base + 28), 10u) << "rectangle and two bytes";
  EXPECT_EQ(Word(bytes, base + 32), 0x00000001u) << "left 1, top 0";
  EXPECT_EQ(Word(bytes, base + 36), 0x00010003u) << "right 3, bottom 1";
  EXPECT_EQ(bytes[base + 40], 7);

  // Two blocks: five 2-bit indices, then a run of one value.
  const std::vector<uint8_t> packed = PackedPixels({{5, {10, 11, 12}, {0, 1, 2, 1, 0}}, {4, {9}, {}}}, 1);
  const std::vector<uint8_t> expected = {5, 0, 3, 10, 11, 12, 0x19, 0x00, 4, 0, 1, 9};
  EXPECT_EQ(packed, expected);
}

TEST(InternalImageReaderTest, OpensAndDrawsTheFirstFrame) {
  Picture picture = EightBit({FrameOf({WholeRaw(10)})});
  picture.timing = 1234;
  auto reader = OpenInMemory(picture.Bytes());
  ASSERT_TRUE(reader);
  uint32_t count = 0, timing = 0;
  reader->GetTiming(count, timing);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(timing, 1234u);
  EXPECT_EQ(reader->GetCurrentFrame(), -1);
  ASSERT_TRUE(reader->ReadFrame(0));
  EXPECT_EQ(Pixels(*reader), (std::vector<uint32_t>{10, 11, 12, 13, 14, 15, 16, 17}));
  EXPECT_EQ(reader->GetFrameImage()->GetColorTable()[1].green, 254);
  EXPECT_FALSE(reader->ReadFrame(1));
  EXPECT_FALSE(reader->ReadFrame(-1));
  EXPECT_EQ(reader->GetMaskImage(), nullptr) << "no key colour, no mask";
}

TEST(InternalImageReaderTest, FramesDrawOverWhatEarlierFramesLeft) {
  Frame second = FrameOf({RawPart(1, 0, 2, 1, {90})});
  second.time = 40000;
  Frame third = FrameOf({RawPart(3, 1, 4, 2, {99})});
  Picture picture = EightBit({FrameOf({WholeRaw(10)}), second, third});
  picture.indexFlags = {0, 0, 0x80000000u}; // the flag bit does not move the frame
  auto reader = OpenInMemory(picture.Bytes());
  ASSERT_TRUE(reader);
  ASSERT_TRUE(reader->ReadFrame(0));
  ASSERT_TRUE(reader->ReadFrame(2));
  EXPECT_EQ(Pixels(*reader), (std::vector<uint32_t>{10, 11, 12, 13, 14, 15, 16, 99})) << "frame 0 under frame 2";
  ASSERT_TRUE(reader->ReadFrame(1));
  EXPECT_EQ(reader->GetFrameTime(), 40000);
  EXPECT_EQ(reader->GetPartCount(), 1u);
  ASSERT_TRUE(reader->ReadFrame(0));
  EXPECT_EQ(Pixels(*reader), (std::vector<uint32_t>{10, 11, 12, 13, 14, 15, 16, 17}));
}

TEST(InternalImageReaderTest, PackedBlocksOfEveryDepth) {
  struct Case {
    const char *name;
    uint16_t depth;
    std::vector<Block> blocks;
    std::vector<uint32_t> expected; // 4 x 2
  };
  const std::vector<Case> cases = {
      {"raw then one value", 8, {{3, {}, {1, 2, 3}}, {5, {7}, {}}}, {1, 2, 3, 7, 7, 7, 7, 7}},
      {"three colours take 2-bit indices",
       8,
       {{8, {20, 21, 22}, {0, 1, 2, 2, 1, 0, 0, 2}}},
       {20, 21, 22, 22, 21, 20, 20, 22}},
      {"five colours take 3-bit indices",
       8,
       {{8, {1, 2, 3, 4, 5}, {4, 3, 2, 1, 0, 1, 2, 4}}},
       {5, 4, 3, 2, 1, 2, 3, 5}},
      {"two colours take 1-bit indices",
       8,
       {{8, {30, 31}, {1, 0, 0, 1, 1, 1, 0, 1}}},
       {31, 30, 30, 31, 31, 31, 30, 31}},
      {"seventeen colours take 5-bit indices",
       8,
       {{8, {40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56}, {16, 0, 9, 3, 15, 1, 8, 16}}},
       {56, 40, 49, 43, 55, 41, 48, 56}},
      {"a block past the rectangle stops at its end", 8, {{2, {}, {1, 2}}, {100, {6}, {}}}, {1, 2, 6, 6, 6, 6, 6, 6}},
      {"16 bits",
       16,
       {{2, {}, {0x1234, 0x5678}}, {2, {0x7FFF}, {}}, {4, {0x0101, 0x0202}, {1, 0, 0, 1}}},
       {0x1234, 0x5678, 0x7FFF, 0x7FFF, 0x0202, 0x0101, 0x0101, 0x0202}},
      {"24 bits",
       24,
       {{2, {}, {0x123456, 0xABCDEF}}, {6, {0x010203}, {}}},
       {0x123456, 0xABCDEF, 0x010203, 0x010203, 0x010203, 0x010203, 0x010203, 0x010203}},
      {"24 bits with a palette",
       24,
       {{8, {0x111111, 0x222222, 0x333333}, {2, 1, 0, 0, 1, 2, 2, 2}}},
       {0x333333, 0x222222, 0x111111, 0x111111, 0x222222, 0x333333, 0x333333, 0x333333}},
  };
  for (const Case &c : cases) {
    Picture picture;
    picture.depth = c.depth;
    if (c.depth == 8)
      picture.colours = GreyishTable(256);
    const uint32_t bytesPerPixel = c.depth / 8u;
    picture.frames = {FrameOf({PackedPart(0, 0, 4, 2, c.blocks, bytesPerPixel)})};
    auto reader = OpenInMemory(picture.Bytes());
    ASSERT_TRUE(reader) << c.name;
    ASSERT_TRUE(reader->ReadFrame(0)) << c.name;
    EXPECT_EQ(Pixels(*reader, bytesPerPixel), c.expected) << c.name;
  }
}

// Files that do not open, each with what is wrong with it.
TEST(InternalImageReaderTest, RefusesFilesThatAreNotPictures) {
  const std::vector<uint8_t> good = EightBit({FrameOf({WholeRaw(1)})}).Bytes();
  auto changed = [&](size_t at, uint32_t value) {
    std::vector<uint8_t> bytes = good;
    for (int i = 0; i < 4; ++i)
      bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
    return bytes;
  };
  const size_t indexChunk = 16 + 48 + 1024;
  Picture shortHeader = EightBit({FrameOf({WholeRaw(1)})});
  shortHeader.headerLength = 47;
  Picture missingEntry = EightBit({FrameOf({WholeRaw(1)})});
  missingEntry.frameCount = 2;
  Picture descending = EightBit({FrameOf({WholeRaw(1)}), FrameOf({WholeRaw(1)})});
  descending.index = std::vector<uint32_t>{0, 40, 20};
  Picture pastTheEnd = EightBit({FrameOf({WholeRaw(1)})});
  pastTheEnd.index = std::vector<uint32_t>{0, 4000};
  Picture emptyIndex = EightBit({});
  emptyIndex.index = std::vector<uint32_t>{};
  Picture shortTable = EightBit({FrameOf({WholeRaw(1)})});
  shortTable.colours = GreyishTable(16); // 8 bits and no colours-used count need 256
  Picture hugePicture = EightBit({});
  hugePicture.width = 30000;
  hugePicture.height = 30000;

  struct Case {
    const char *name;
    std::vector<uint8_t> bytes;
  };
  const std::vector<Case> cases = {
      {"no VORI tag", changed(0, 0x58524F56)},
      {"no HDR tag", changed(8, 0x58524448)},
      {"header length 47", shortHeader.Bytes()},
      {"fewer than 16 bytes", std::vector<uint8_t>(good.begin(), good.begin() + 12)},
      {"no INDX tag", changed(indexChunk, 0x58444E4A)},
      {"compressed pixels", changed(24 + 16, 1)},
      {"unknown depth", changed(24 + 12, 0x70001)},
      {"width 0", changed(24 + 4, 0)},
      {"colour table past the bytes", shortTable.Bytes()},
      {"index without an entry for the end of the last frame", missingEntry.Bytes()},
      {"index entries going back", descending.Bytes()},
      {"index pointing past the file", pastTheEnd.Bytes()},
      {"empty index", emptyIndex.Bytes()},
      {"index longer than the file", changed(indexChunk + 4, 0x10000)},
      {"a picture too large to make", hugePicture.Bytes()},
  };
  for (const Case &c : cases) {
    InternalImageReader reader(0, -1);
    reader.SetMemoryCopy(c.bytes);
    EXPECT_FALSE(reader.Open(true)) << c.name;
    EXPECT_EQ(reader.GetFrameImage(), nullptr) << c.name;
  }
}

// Parts that would write outside the picture or read outside the file are
// skipped or cut where their bytes end.
TEST(InternalImageReaderTest, MalformedPartsLeaveThePictureWhole) {
  Part outside = RawPart(2, 0, 6, 1, {1, 2, 3, 4});
  Part negative = RawPart(-1, 0, 1, 1, {1, 2});
  Part empty = RawPart(2, 0, 2, 1, {1});
  Part shortRaw = RawPart(0, 0, 4, 2, {50, 51, 52, 53, 54}); // one whole row of two
  Part longLength = RawPart(0, 0, 1, 1, {60});
  longLength.length = 5000;
  Part badIndex = PackedPart(0, 0, 4, 1, {{4, {70, 71, 72}, {0, 3, 1, 1}}}, 1); // index 3 of 3 colours
  Part unknown = RawPart(0, 0, 1, 1, {80});
  unknown.tag = "XTRA";
  struct Case {
    const char *name;
    std::vector<Part> parts;
    std::vector<uint32_t> expected;
  };
  const std::vector<uint32_t> before = {10, 11, 12, 13, 14, 15, 16, 17};
  const std::vector<Case> cases = {
      {"rectangle past the right edge", {outside}, before},
      {"rectangle left of the picture", {negative}, before},
      {"empty rectangle", {empty}, before},
      {"raw rows shorter than the rectangle", {shortRaw}, {50, 51, 52, 53, 14, 15, 16, 17}},
      {"part longer than its frame", {longLength}, before},
      {"index past the block's palette", {badIndex}, {70, 11, 12, 13, 14, 15, 16, 17}},
      {"other tags are skipped", {unknown, RawPart(3, 1, 4, 2, {5})}, {10, 11, 12, 13, 14, 15, 16, 5}},
  };
  for (const Case &c : cases) {
    auto reader = OpenInMemory(EightBit({FrameOf({WholeRaw(10)}), FrameOf(c.parts)}).Bytes());
    ASSERT_TRUE(reader) << c.name;
    ASSERT_TRUE(reader->ReadFrame(0)) << c.name;
    EXPECT_TRUE(reader->ReadFrame(1)) << c.name;
    EXPECT_EQ(Pixels(*reader), c.expected) << c.name;
  }
}

TEST(InternalImageReaderTest, PackedPartsOfDepthsWithoutPackingAreSkipped) {
  for (uint16_t depth : {1, 4, 32}) {
    Picture picture;
    picture.depth = depth;
    picture.width = 8;
    picture.height = 1;
    if (depth <= 8)
      picture.colours = GreyishTable(1u << depth);
    picture.frames = {FrameOf({PackedPart(0, 0, 8, 1, {{8, {0xFF}, {}}}, 1)})};
    auto reader = OpenInMemory(picture.Bytes());
    ASSERT_TRUE(reader) << depth;
    ASSERT_TRUE(reader->ReadFrame(0)) << depth;
    const DibImage *image = reader->GetFrameImage();
    for (uint32_t i = 0; i < image->GetStride(); ++i)
      EXPECT_EQ(image->GetRowAddress(0)[i], 0) << depth;
  }
}

TEST(InternalImageReaderTest, AFrameWithAnotherHeaderLengthCountsAsReadAndDrawsNothing) {
  Frame odd = FrameOf({RawPart(0, 0, 1, 1, {99})});
  odd.frameHeaderLength = 12;
  auto reader = OpenInMemory(EightBit({FrameOf({WholeRaw(10)}), odd}).Bytes());
  ASSERT_TRUE(reader);
  ASSERT_TRUE(reader->ReadFrame(0));
  EXPECT_TRUE(reader->ReadFrame(1));
  EXPECT_EQ(reader->GetCurrentFrame(), 1);
  EXPECT_EQ(Pixels(*reader), (std::vector<uint32_t>{10, 11, 12, 13, 14, 15, 16, 17}));
}

TEST(InternalImageReaderTest, TheMaskFollowsTheKeyAfterEachFrame) {
  auto reader =
      OpenInMemory(EightBit({FrameOf({WholeRaw(10)}), FrameOf({RawPart(0, 0, 1, 1, {12})})}).Bytes(), 0x1000000 + 12);
  ASSERT_TRUE(reader);
  ASSERT_TRUE(reader->ReadFrame(0));
  DibImage *mask = reader->GetMaskImage();
  ASSERT_NE(mask, nullptr);
  EXPECT_TRUE(mask->IsMaskBitSet(0, 0));
  EXPECT_FALSE(mask->IsMaskBitSet(2, 0)) << "index 12 is the key";
  ASSERT_TRUE(reader->ReadFrame(1));
  EXPECT_FALSE(reader->GetMaskImage()->IsMaskBitSet(0, 0));
}

class InternalImageResourceTest : public ::testing::Test {
protected:
  uint32_t AddResource(const std::vector<uint8_t> &bytes) {
    return manager.OpenResource(std::make_unique<FakeResourceFile>(bytes, VORFileKind::kInternalPicture), 0, 0, 0);
  }

  FakeApp app;
  FakeMachine machine;
  VORResourceManager manager{machine.MakePlatform()};
};

TEST_F(InternalImageResourceTest, ReadsThroughTheResourceBlocksWholeOrFromItsStart) {
  const std::vector<uint8_t> bytes = EightBit({FrameOf({WholeRaw(30)})}).Bytes();
  for (bool whole : {true, false}) {
    const uint32_t handle = AddResource(bytes);
    InternalImageReader reader(handle, -1, &manager);
    ASSERT_TRUE(reader.Open(whole)) << whole;
    ASSERT_TRUE(reader.ReadFrame(0)) << whole;
    EXPECT_EQ(Pixels(reader), (std::vector<uint32_t>{30, 31, 32, 33, 34, 35, 36, 37})) << whole;
    reader.Close();
    EXPECT_EQ(reader.GetFrameImage(), nullptr);
  }
  // A file smaller than the first bytes asked for opens too.
  Picture small;
  small.depth = 24;
  small.width = 1;
  small.height = 1;
  small.frames = {FrameOf({RawPart(0, 0, 1, 1, {1, 2, 3})})};
  InternalImageReader reader(AddResource(small.Bytes()), -1, &manager);
  EXPECT_TRUE(reader.Open(false));
}

TEST_F(InternalImageResourceTest, AResourceThatReadsShortDoesNotOpen) {
  auto file = std::make_unique<FakeResourceFile>(EightBit({FrameOf({WholeRaw(30)})}).Bytes());
  file->SetMissingTail(10);
  InternalImageReader reader(manager.OpenResource(std::move(file), 0, 0, 0), -1, &manager);
  EXPECT_FALSE(reader.Open(true));
  InternalImageReader none(0x70000, -1, &manager);
  EXPECT_FALSE(none.Open(true));
}

} // namespace

namespace {

TEST(InternalImageReaderTest, TheDemoCoverDecodesToItsTwoHalves) {
  auto reader = OpenInMemory(DemoPublication::Cover());
  ASSERT_TRUE(reader);
  ASSERT_TRUE(reader->ReadFrame(0));
  const std::vector<uint32_t> pixels = Pixels(*reader, 3);
  auto stored = [](uint32_t colour) { return (colour >> 16 & 0xFF) | (colour & 0xFF00) | (colour & 0xFF) << 16; };
  EXPECT_EQ(pixels.front(), stored(DemoPublication::kCoverTop));
  EXPECT_EQ(pixels.back(), stored(DemoPublication::kCoverBottom));
}

} // namespace
