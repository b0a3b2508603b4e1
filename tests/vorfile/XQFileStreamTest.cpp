#include "vorfile/XQFileStream.h"

#include "support/MemoryFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<uint8_t> ReadBytes(XQFileStream &stream, uint32_t count, bool expectedResult = true) {
  std::vector<uint8_t> bytes(count);
  uint32_t got = 0xDEAD;
  EXPECT_EQ(stream.Read(bytes.data(), count, got), expectedResult);
  bytes.resize(got);
  return bytes;
}

TEST(XQFileStreamTest, StreamsSharingAFileKeepTheirOwnPositions) {
  MemoryFile file(CountingBytes(100));
  XQFileStream first(file);
  XQFileStream second(file);
  ASSERT_TRUE(second.Seek(50, XQFile::kSeekStart));

  EXPECT_EQ(ReadBytes(first, 2), (std::vector<uint8_t>{0, 1}));
  EXPECT_EQ(ReadBytes(second, 2), (std::vector<uint8_t>{50, 51}));
  EXPECT_EQ(ReadBytes(first, 2), (std::vector<uint8_t>{2, 3}));
  EXPECT_EQ(first.GetPosition(), 4u);
  EXPECT_EQ(second.GetPosition(), 52u);
}

TEST(XQFileStreamTest, ReadPastTheEndAnswersTrueWithNothing) {
  MemoryFile file(CountingBytes(10));
  XQFileStream stream(file);
  ASSERT_TRUE(stream.Seek(8, XQFile::kSeekStart));
  EXPECT_EQ(ReadBytes(stream, 5), (std::vector<uint8_t>{8, 9}));
  EXPECT_EQ(stream.GetPosition(), 10u);
  EXPECT_TRUE(ReadBytes(stream, 5).empty());
  ASSERT_TRUE(stream.Seek(100, XQFile::kSeekStart)); // no bound applies
  EXPECT_TRUE(ReadBytes(stream, 5).empty());
  EXPECT_EQ(stream.GetPosition(), 100u);
}

TEST(XQFileStreamTest, Seek) {
  constexpr uint32_t kStart = 10;
  struct Case {
    const char *name;
    int32_t offset;
    int32_t origin;
    bool result;
    uint32_t position;
  } cases[] = {
      {"set", 3, XQFile::kSeekStart, true, 3},
      {"add", 5, XQFile::kSeekCurrent, true, 15},
      {"add back", -10, XQFile::kSeekCurrent, true, 0},
      {"from the end is not a stream's", 0, XQFile::kSeekEnd, false, kStart},
      {"unknown origin", 0, 7, false, kStart},
      {"before the start", -1, XQFile::kSeekStart, false, kStart},
      {"back before the start", -11, XQFile::kSeekCurrent, false, kStart},
      {"furthest reach", INT32_MAX - 10, XQFile::kSeekCurrent, true, XQFileStream::kMaxPosition},
      // Must neither overflow nor wrap round onto a readable position.
      {"beyond reach", INT32_MAX, XQFile::kSeekCurrent, false, kStart},
  };
  MemoryFile file(CountingBytes(20));
  for (const Case &c : cases) {
    XQFileStream stream(file);
    ASSERT_TRUE(stream.Seek(kStart, XQFile::kSeekStart));
    EXPECT_EQ(stream.Seek(c.offset, c.origin), c.result) << c.name;
    EXPECT_EQ(stream.GetPosition(), c.position) << c.name;
  }
}

TEST(XQFileStreamTest, CloneStartsAtTheSamePlaceThenGoesItsOwnWay) {
  MemoryFile file(CountingBytes(10));
  XQFileStream stream(file);
  ASSERT_TRUE(stream.Seek(4, XQFile::kSeekStart));
  std::unique_ptr<XQFileStream> clone;
  ASSERT_TRUE(stream.Clone(clone));
  EXPECT_EQ(&clone->GetFile(), &file);
  EXPECT_EQ(ReadBytes(*clone, 2), (std::vector<uint8_t>{4, 5}));
  EXPECT_EQ(ReadBytes(stream, 1), (std::vector<uint8_t>{4}));
}

TEST(XQFileStreamTest, WriteLandsAtTheStreamsPosition) {
  MemoryFile file(std::vector<uint8_t>(4, 0));
  XQFileStream stream(file);
  XQFileStream other(file);
  ASSERT_TRUE(stream.Seek(2, XQFile::kSeekStart));
  ASSERT_TRUE(other.Seek(1, XQFile::kSeekStart));
  const uint8_t bytes[] = {7, 8, 9};
  uint32_t written = 0;
  ASSERT_TRUE(stream.Write(bytes, 3, written));
  EXPECT_EQ(written, 3u);
  EXPECT_EQ(stream.GetPosition(), 5u);
  EXPECT_EQ(ReadBytes(other, 10), (std::vector<uint8_t>{0, 7, 8, 9}));
}

} // namespace
