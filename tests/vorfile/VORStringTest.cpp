#include "vorfile/VORString.h"

#include "support/FakeRecordFile.h"
#include "vorfile/VORFileException.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(VORStringTest, ReadsLengthThenBytes) {
  struct Case {
    const char *name;
    std::vector<uint8_t> record;
    std::string expected;
    uint32_t endPosition;
  } cases[] = {
      {"text", RecordBytes().String("abc").Uint32(7).Take(), "abc", 7},
      {"length 0", RecordBytes().Uint32(0).Uint32(7).Take(), "", 4},
      // The record's reader decides where fields stop, not an inner NUL.
      {"inner NUL", RecordBytes().Uint32(3).Text("a").Uint32(0).Take(), std::string("a\0\0", 3), 7},
      {"record ends before the length", {}, "", 0},
      {"record ends inside the length", {2, 0}, "", 2},
  };
  for (const Case &c : cases) {
    FakeRecordFile file(c.record);
    VORString s("old text");
    ASSERT_NO_THROW(s.Read(file)) << c.name;
    EXPECT_EQ(std::string(s.CStr(), s.GetLength()), c.expected) << c.name;
    EXPECT_EQ(s.GetText() == nullptr, c.expected.empty()) << c.name;
    EXPECT_EQ(file.GetPosition(), c.endPosition) << c.name;
  }
}

TEST(VORStringTest, RecordEndingInsideTheTextIsAnIncompleteRead) {
  struct Case {
    const char *name;
    uint32_t length;
  } cases[] = {
      {"a little short", 5},
      // Taken at its word, length + 1 wraps to an empty buffer.
      {"all ones", 0xFFFFFFFF},
      {"beyond the read chunk", 3 * VORString::kReadChunkSize},
  };
  for (const Case &c : cases) {
    FakeRecordFile file(RecordBytes().Uint32(c.length).Text("abc").Take());
    VORString s("old text");
    EXPECT_THROW(s.Read(file), VORFileIncompleteReadException) << c.name;
    EXPECT_TRUE(s.IsEmpty()) << c.name;
    // Memory follows what the record holds, not what the length claims.
    EXPECT_LE(file.GetLargestRequest(), VORString::kReadChunkSize) << c.name;
  }
}

TEST(VORStringTest, LongTextComesWholeAcrossChunks) {
  std::string text(2 * VORString::kReadChunkSize + 17, 'x');
  for (size_t i = 0; i < text.size(); i += 1000)
    text[i] = static_cast<char>('a' + i % 26);
  FakeRecordFile file(RecordBytes().String(text.c_str()).Take());
  VORString s;
  s.Read(file);
  EXPECT_EQ(s.GetLength(), text.size());
  EXPECT_EQ(std::string(s.CStr()), text);
}

TEST(VORStringTest, FailureOfTheFilePassesOn) {
  FakeRecordFile file(RecordBytes().String("abc").Take());
  file.SetReadsFail(true);
  VORString s;
  EXPECT_THROW(s.Read(file), VORFileErrorException);
}

} // namespace
