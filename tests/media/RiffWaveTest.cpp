#include <gtest/gtest.h>

#include <cstring>

#include "media/RiffWave.h"
#include "support/WaveFileWriter.h"

namespace {

using WaveFileWriter::Chunk;

std::optional<RiffWaveLayout> Layout(const std::vector<uint8_t> &file) {
  return RiffWave::ReadLayout(file.data(), static_cast<uint32_t>(file.size()), file.size());
}

TEST(RiffWaveTest, PcmFileGivesAnEighteenByteFormatWithNoExtraBytes) {
  const std::vector<uint8_t> data = {1, 2, 3, 4};
  const std::vector<uint8_t> file = WaveFileWriter::PcmFile(1, 22050, 16, data);
  const auto layout = Layout(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->format.GetSize(), 18u);
  EXPECT_EQ(layout->format.GetExtraSize(), 0);
  EXPECT_EQ(layout->format.GetAverageBytesPerSecond(), 44100u);
  EXPECT_EQ(layout->format.GetBlockAlign(), 2);
  EXPECT_EQ(layout->dataOffset, 44u);
  EXPECT_EQ(layout->dataLength, 4u);
}

// An odd chunk before "fmt " is followed by its pad byte, as RIFF has it.
TEST(RiffWaveTest, OddChunksAreFollowedByTheirPadByte) {
  const std::vector<uint8_t> file = WaveFileWriter::File(
      {{"LIST", {'a', 'b', 'c'}}, {"fmt ", WaveFileWriter::PcmFormat(2, 8000, 8)}, {"data", {9, 9}}});
  const auto layout = Layout(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->format.GetChannels(), 2);
  EXPECT_EQ(layout->dataOffset, 12u + 8 + 4 + 8 + 16 + 8);
}

// A compressed format keeps only the extra bytes its chunk really holds.
TEST(RiffWaveTest, ExtraSizeIsCutToTheChunk) {
  std::vector<uint8_t> format = WaveFileWriter::PcmFormat(1, 8000, 4);
  format[0] = 0x11;      // IMA ADPCM
  format.push_back(200); // cbSize claims 200 extra bytes, two follow
  format.push_back(0);
  format.push_back(0xAA);
  format.push_back(0xBB);
  const auto layout = Layout(WaveFileWriter::File({{"fmt ", format}, {"data", {1}}}));
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->format.GetSize(), 20u);
  EXPECT_EQ(layout->format.GetExtraSize(), 2);
}

TEST(RiffWaveTest, DataLengthBeyondTheFileIsCut) {
  std::vector<uint8_t> file = WaveFileWriter::PcmFile(1, 8000, 8, {1, 2, 3, 4});
  file[40] = 0x30; // data length 48, four bytes there
  file[4] = 0x40;  // the form claims as much
  const auto layout = RiffWave::ReadLayout(file.data(), static_cast<uint32_t>(file.size()), 0x48);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->dataLength, 0x48u - 44);
}

TEST(RiffWaveTest, RefusedFiles) {
  const std::vector<uint8_t> good = WaveFileWriter::PcmFile(1, 8000, 8, {1, 2});
  struct Case {
    const char *name;
    std::vector<uint8_t> file;
    uint64_t fileSize;
  };
  std::vector<uint8_t> notRiff = good;
  notRiff[0] = 'X';
  std::vector<uint8_t> notWave = good;
  notWave[8] = 'X';
  std::vector<uint8_t> dataLongerThanForm = good;
  dataLongerThanForm[40] = 0xFF;
  std::vector<uint8_t> hugeChunk =
      WaveFileWriter::File({{"junk", {}}, {"fmt ", WaveFileWriter::PcmFormat(1, 8000, 8)}});
  std::memset(&hugeChunk[16], 0xFF, 4); // a length that would wrap a 32-bit position round
  const std::vector<Case> cases = {
      {"too short", {'R', 'I', 'F', 'F'}, 4},
      {"not RIFF", notRiff, notRiff.size()},
      {"not WAVE", notWave, notWave.size()},
      {"file shorter than the form", good, good.size() - 9},
      {"no fmt", WaveFileWriter::File({{"data", {1, 2}}}), 0},
      {"data before fmt", WaveFileWriter::File({{"data", {1}}, {"fmt ", WaveFileWriter::PcmFormat(1, 8000, 8)}}), 0},
      {"no data", WaveFileWriter::File({{"fmt ", WaveFileWriter::PcmFormat(1, 8000, 8)}}), 0},
      {"data longer than the form", dataLongerThanForm, dataLongerThanForm.size()},
      {"chunk length near 4 GB", hugeChunk, hugeChunk.size()},
  };
  for (const Case &refused : cases) {
    const uint64_t size = refused.fileSize ? refused.fileSize : refused.file.size();
    EXPECT_FALSE(RiffWave::ReadLayout(refused.file.data(), static_cast<uint32_t>(refused.file.size()), size))
        << refused.name;
  }
}

// The chunks must lie within the bytes loaded, not only within the file.
TEST(RiffWaveTest, FormatBeyondTheLoadedBytesIsRefused) {
  const std::vector<uint8_t> file = WaveFileWriter::PcmFile(1, 8000, 8, {1, 2});
  EXPECT_FALSE(RiffWave::ReadLayout(file.data(), 30, file.size()));
  EXPECT_FALSE(RiffWave::ReadLayout(file.data(), 40, file.size()));
  EXPECT_TRUE(RiffWave::ReadLayout(file.data(), 44, file.size()));
}

} // namespace
