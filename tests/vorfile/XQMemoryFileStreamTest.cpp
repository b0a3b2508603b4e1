#include "vorfile/XQMemoryFileStream.h"

#include "support/MemoryFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kWindow = XQMemoryFileStream::kWindowSize;

std::vector<uint8_t> ReadBytes(XQFileStream &stream, uint32_t count) {
  std::vector<uint8_t> bytes(count);
  uint32_t got = 0xDEAD;
  EXPECT_TRUE(stream.Read(bytes.data(), count, got));
  bytes.resize(got);
  return bytes;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t> &bytes, uint32_t start, uint32_t count) {
  return std::vector<uint8_t>(bytes.begin() + start, bytes.begin() + start + count);
}

TEST(XQMemoryFileStreamTest, EmptySpanDeliversNothing) {
  MemoryFile file(CountingBytes(100));
  XQFileStream source(file);
  XQMemoryFileStream span(source, 0);
  EXPECT_TRUE(ReadBytes(span, 10).empty());
  EXPECT_EQ(file.GetReadCount(), 0);
}

TEST(XQMemoryFileStreamTest, SpanStartsAtTheSourcesPositionAndEndsAtItsLength) {
  MemoryFile file(CountingBytes(100));
  XQFileStream source(file);
  ASSERT_TRUE(source.Seek(30, XQFile::kSeekStart));
  XQMemoryFileStream span(source, 20);
  ASSERT_TRUE(source.Seek(0, XQFile::kSeekStart)); // the span holds a clone

  EXPECT_EQ(ReadBytes(span, 5), Slice(file.GetBytes(), 30, 5));
  EXPECT_EQ(ReadBytes(span, 100), Slice(file.GetBytes(), 35, 15));
  EXPECT_TRUE(ReadBytes(span, 1).empty());
  EXPECT_EQ(file.GetReadCount(), 1) << "one window holds the whole span";
}

TEST(XQMemoryFileStreamTest, LongSpanRefillsItsWindowOnceAfterTheFirst512KiB) {
  constexpr uint32_t kLength = 600 * 1024;
  MemoryFile file(CountingBytes(kLength + 100));
  XQFileStream source(file);
  XQMemoryFileStream span(source, kLength);

  std::vector<uint8_t> all;
  for (;;) {
    std::vector<uint8_t> part = ReadBytes(span, 4000);
    if (part.empty())
      break;
    all.insert(all.end(), part.begin(), part.end());
  }
  EXPECT_EQ(all, Slice(file.GetBytes(), 0, kLength));
  EXPECT_EQ(file.GetReadCount(), 2);
}

TEST(XQMemoryFileStreamTest, SeekingWithinTheWindowReadsNoMore) {
  MemoryFile file(CountingBytes(100));
  XQFileStream source(file);
  XQMemoryFileStream span(source, 100);
  ReadBytes(span, 10);
  ASSERT_TRUE(span.Seek(90, XQFile::kSeekStart));
  EXPECT_EQ(ReadBytes(span, 10), Slice(file.GetBytes(), 90, 10));
  ASSERT_TRUE(span.Seek(-50, XQFile::kSeekCurrent));
  EXPECT_EQ(ReadBytes(span, 3), Slice(file.GetBytes(), 50, 3));
  EXPECT_EQ(file.GetReadCount(), 1);
}

// A window sized from a position past the end would overrun the smaller
// buffer allocated for a short span.
TEST(XQMemoryFileStreamTest, PositionPastTheSpanDeliversNothing) {
  MemoryFile file(CountingBytes(1000));
  XQFileStream source(file);
  XQMemoryFileStream span(source, 100);
  for (uint32_t position : {100u, 101u, 200u, 0x7FFFFFFFu}) {
    ASSERT_TRUE(span.Seek(static_cast<int32_t>(position), XQFile::kSeekStart));
    EXPECT_TRUE(ReadBytes(span, 50).empty()) << position;
  }
}

// A read that failed may have written into the window: nothing of the old
// window may be served afterwards.
TEST(XQMemoryFileStreamTest, FailedRefillLeavesNoStaleWindow) {
  constexpr uint32_t kLength = kWindow + 100;
  MemoryFile file(CountingBytes(kLength));
  XQFileStream source(file);
  XQMemoryFileStream span(source, kLength);
  ReadBytes(span, 10);

  file.SetReadsFail(true);
  ASSERT_TRUE(span.Seek(kWindow, XQFile::kSeekStart));
  EXPECT_TRUE(ReadBytes(span, 10).empty());

  file.SetReadsFail(false);
  ASSERT_TRUE(span.Seek(0, XQFile::kSeekStart));
  EXPECT_EQ(ReadBytes(span, 10), Slice(file.GetBytes(), 0, 10));
}

TEST(XQMemoryFileStreamTest, CopiesReadThroughTheirParentFromWhereTheyWereMade) {
  MemoryFile file(CountingBytes(200));
  XQFileStream source(file);
  ASSERT_TRUE(source.Seek(100, XQFile::kSeekStart));
  XQMemoryFileStream span(source, 50);
  ASSERT_TRUE(span.Seek(10, XQFile::kSeekStart));

  std::unique_ptr<XQFileStream> copy;
  ASSERT_TRUE(span.Clone(copy));
  ASSERT_TRUE(copy->Seek(5, XQFile::kSeekStart));
  std::unique_ptr<XQFileStream> copyOfCopy;
  ASSERT_TRUE(copy->Clone(copyOfCopy));

  EXPECT_EQ(ReadBytes(*copy, 3), Slice(file.GetBytes(), 115, 3));
  EXPECT_EQ(copy->GetPosition(), 8u);
  EXPECT_EQ(ReadBytes(*copyOfCopy, 2), Slice(file.GetBytes(), 115, 2));
  EXPECT_EQ(copy->GetPosition(), 8u) << "the parent is put back";
  EXPECT_EQ(span.GetPosition(), 10u);
  // The owner's span still bounds what copies see.
  ASSERT_TRUE(copy->Seek(30, XQFile::kSeekStart));
  EXPECT_EQ(ReadBytes(*copy, 50), Slice(file.GetBytes(), 140, 10));
  EXPECT_EQ(file.GetReadCount(), 1);
}

// Nested folders copy the copies of their parents: however long the chain,
// the last copy reads through the owner, at its own place in the span, and
// needs none of the copies between.
TEST(XQMemoryFileStreamTest, ACopyOfACopyReadsThroughTheOwner) {
  MemoryFile file(CountingBytes(3000));
  XQFileStream source(file);
  XQMemoryFileStream span(source, 3000);
  std::unique_ptr<XQFileStream> last;
  ASSERT_TRUE(span.Clone(last));
  for (int i = 0; i < 1000; ++i) {
    ASSERT_TRUE(last->Seek(2, XQFile::kSeekStart));
    std::unique_ptr<XQFileStream> next;
    ASSERT_TRUE(last->Clone(next));
    last = std::move(next); // the copy it came from goes
  }
  EXPECT_EQ(ReadBytes(*last, 4), Slice(file.GetBytes(), 2000, 4));
  EXPECT_EQ(span.GetPosition(), 0u);
}

// Positions count within the span, so a write would hit the wrong bytes.
TEST(XQMemoryFileStreamTest, WritesAreRefused) {
  MemoryFile file(CountingBytes(100));
  XQFileStream source(file);
  ASSERT_TRUE(source.Seek(50, XQFile::kSeekStart));
  XQMemoryFileStream span(source, 10);
  const uint8_t byte = 0xFF;
  uint32_t written = 7;
  EXPECT_FALSE(span.Write(&byte, 1, written));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(file.GetBytes(), CountingBytes(100));
}

} // namespace
