#include "vorfile/XQWin32File.h"

#include "support/TempFile.h"
#include "vorfile/XQFileStream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string ReadAll(XQFile &file) {
  std::string text(100, '\0');
  uint32_t got = 0;
  EXPECT_TRUE(file.Seek(0, XQFile::kSeekStart));
  EXPECT_TRUE(file.Read(&text[0], static_cast<uint32_t>(text.size()), got));
  text.resize(got);
  return text;
}

TEST(XQWin32FileTest, ShareModes) {
  constexpr uint32_t kRead = XQFile::kRead, kWrite = XQFile::kWrite;
  struct Case {
    const char *name;
    uint32_t first;
    uint32_t second;
    bool secondOpens;
  } cases[] = {
      {"deny write: reader", kRead | XQFile::kDenyWrite, kRead, true},
      {"deny write: writer", kRead | XQFile::kDenyWrite, kWrite, false},
      {"deny read: reader", kRead | XQFile::kDenyRead, kRead, false},
      {"deny read: writer", kRead | XQFile::kDenyRead, kWrite, true},
      {"deny both: reader", kRead | XQFile::kDenyRead | XQFile::kDenyWrite, kRead, false},
      {"deny both: writer", kRead | XQFile::kDenyRead | XQFile::kDenyWrite, kWrite, false},
      {"deny none: reader and writer", kRead, kRead | kWrite, true},
      {"writer denying nothing", kWrite, kRead | kWrite, true},
  };
  TempFile temp;
  ASSERT_TRUE(temp.Write(std::string("shared")));
  for (const Case &c : cases) {
    XQWin32File first(temp.Path());
    XQWin32File second(temp.Path());
    ASSERT_TRUE(first.Open(c.first)) << c.name;
    EXPECT_EQ(second.Open(c.second), c.secondOpens) << c.name;
    EXPECT_EQ(second.GetOpenCount(), c.secondOpens ? 1u : 0u) << c.name;
    second.Close();
    first.Close();
  }
}

TEST(XQWin32FileTest, OpenCountKeepsTheHandleUntilTheLastClose) {
  TempFile temp;
  ASSERT_TRUE(temp.Write(std::string("abc")));
  XQWin32File file(temp.Path());
  ASSERT_TRUE(file.Open(XQFile::kRead | XQFile::kDenyRead | XQFile::kDenyWrite));
  // A further open counts, whatever its mode: the handle is the first one's.
  ASSERT_TRUE(file.Open(XQFile::kWrite));
  EXPECT_EQ(file.GetOpenCount(), 2u);
  EXPECT_EQ(file.GetModeFlags(), XQFile::kRead | XQFile::kDenyRead | XQFile::kDenyWrite);
  file.Close();
  EXPECT_EQ(file.Tell(), 0);
  EXPECT_EQ(ReadAll(file), "abc");
  XQWin32File other(temp.Path());
  EXPECT_FALSE(other.Open(XQFile::kRead)) << "the exclusive handle is still held";
  file.Close();
  EXPECT_EQ(file.Tell(), -1);
  EXPECT_TRUE(other.Open(XQFile::kRead));
  other.Close();
  file.Close(); // not below zero
  EXPECT_EQ(file.GetOpenCount(), 0u);
}

TEST(XQWin32FileTest, DestroyingAnOpenFileReleasesIt) {
  TempFile temp;
  ASSERT_TRUE(temp.Write(std::string("abc")));
  {
    XQWin32File file(temp.Path());
    ASSERT_TRUE(file.Open(XQFile::kRead | XQFile::kDenyRead | XQFile::kDenyWrite));
  }
  XQWin32File again(temp.Path());
  EXPECT_TRUE(again.Open(XQFile::kRead | XQFile::kDenyRead | XQFile::kDenyWrite));
  again.Close();
}

TEST(XQWin32FileTest, MissingFile) {
  struct Case {
    const char *name;
    uint32_t mode;
    bool opens;
  } cases[] = {
      {"read", XQFile::kRead, false},
      {"read, create always", XQFile::kRead | XQFile::kCreateAlways, false}, // the name is looked up first
      {"write", XQFile::kWrite, false},
      {"write, create always", XQFile::kWrite | XQFile::kCreateAlways, true},
  };
  for (const Case &c : cases) {
    TempFile temp;
    XQWin32File file(temp.Path());
    EXPECT_FALSE(file.Exists()) << c.name;
    EXPECT_EQ(file.Open(c.mode), c.opens) << c.name;
    EXPECT_EQ(temp.Exists(), c.opens) << c.name;
    file.Close();
  }
}

TEST(XQWin32FileTest, WriteSeekTell) {
  TempFile temp;
  XQWin32File file(temp.Path());
  ASSERT_TRUE(file.Open(XQFile::kWrite | XQFile::kCreateAlways));
  uint32_t written = 0;
  ASSERT_TRUE(file.Write("hello world", 11, written));
  EXPECT_EQ(written, 11u);
  EXPECT_EQ(file.Tell(), 11);
  file.Close();

  ASSERT_TRUE(file.Open(XQFile::kRead | XQFile::kWrite));
  struct Case {
    const char *name;
    int32_t offset;
    int32_t origin;
    bool result;
    int32_t position;
  } cases[] = {
      {"start", 6, XQFile::kSeekStart, true, 6},
      {"current", 2, XQFile::kSeekCurrent, true, 8},
      {"end", -5, XQFile::kSeekEnd, true, 6},
      {"past the end", 4, XQFile::kSeekEnd, true, 15},
      {"before the start", -1, XQFile::kSeekStart, false, 15},
      {"unknown origin", 0, 3, false, 15},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(file.Seek(c.offset, c.origin), c.result) << c.name;
    EXPECT_EQ(file.Tell(), c.position) << c.name;
  }
  ASSERT_TRUE(file.Seek(6, XQFile::kSeekStart));
  ASSERT_TRUE(file.Write("WORLD", 5, written));
  EXPECT_EQ(ReadAll(file), "hello WORLD");
  file.Close();
}

TEST(XQWin32FileTest, StreamReadPastTheEndAnswersTrueWithNothing) {
  TempFile temp;
  ASSERT_TRUE(temp.Write(std::string("abc")));
  XQWin32File file(temp.Path());
  ASSERT_TRUE(file.Open(XQFile::kRead));
  XQFileStream stream(file);
  ASSERT_TRUE(stream.Seek(10, XQFile::kSeekStart));
  char buffer[4];
  uint32_t got = 99;
  EXPECT_TRUE(stream.Read(buffer, sizeof buffer, got));
  EXPECT_EQ(got, 0u);
  file.Close();
}

TEST(XQWin32FileTest, SizeAndTimeAreTakenOnceThenKept) {
  TempFile temp;
  ASSERT_TRUE(temp.Write(std::string("12345")));
  XQWin32File file(temp.Path());
  uint32_t size = 0;
  int32_t time = -1;
  ASSERT_TRUE(file.GetSizeAndTime(size, time));
  EXPECT_EQ(size, 5u);
  EXPECT_NE(time, -1);

  ASSERT_TRUE(temp.Write(std::string("1234567890")));
  ASSERT_TRUE(file.GetSizeAndTime(size, time));
  EXPECT_EQ(size, 5u) << "a file is taken as it was first seen";
  XQWin32File fresh(temp.Path());
  ASSERT_TRUE(fresh.GetSizeAndTime(size, time));
  EXPECT_EQ(size, 10u);

  temp.Remove();
  EXPECT_FALSE(file.GetSizeAndTime(size, time)) << "a vanished file is not answered from the cache";
  EXPECT_FALSE(file.Exists());
}

TEST(XQWin32FileTest, SameFileIsTheSameNameSizeAndTime) {
  TempFile temp, twin;
  ASSERT_TRUE(temp.Write(std::string("same")));
  ASSERT_TRUE(twin.Write(std::string("same")));
  XQWin32File file(temp.Path());
  XQWin32File sameName(temp.Path());
  XQWin32File otherName(twin.Path());
  EXPECT_TRUE(file.IsSameFile(sameName));
  EXPECT_FALSE(file.IsSameFile(otherName)) << "equal contents are not the same file";

  // Each object keeps what it first saw: a rewritten file is another file.
  ASSERT_TRUE(temp.Write(std::string("longer now")));
  XQWin32File rewritten(temp.Path());
  EXPECT_FALSE(file.IsSameFile(rewritten));

  temp.Remove();
  XQWin32File missing(temp.Path());
  EXPECT_FALSE(missing.IsSameFile(sameName));
}

class RecordingHandler : public XQWin32File::WriteErrorHandler {
public:
  explicit RecordingHandler(int retries) : m_retries(retries) {}
  bool OnWriteError(int32_t kind, uint32_t errorCode) override {
    calls.push_back({kind, errorCode});
    return m_retries-- > 0;
  }
  std::vector<std::pair<int32_t, uint32_t>> calls;

private:
  int m_retries;
};

TEST(XQWin32FileTest, FailedWriteAsksTheHandler) {
  TempFile temp;
  ASSERT_TRUE(temp.Write(std::string("abc")));
  XQWin32File file(temp.Path());
  ASSERT_TRUE(file.Open(XQFile::kRead)); // no write access: every WriteFile fails
  uint32_t written = 99;
  EXPECT_FALSE(file.Write("x", 1, written)) << "no handler";
  EXPECT_EQ(written, 0u);

  RecordingHandler handler(1);
  file.SetWriteErrorHandler(&handler);
  EXPECT_FALSE(file.Write("x", 1, written));
  ASSERT_EQ(handler.calls.size(), 2u) << "one retry, then given up";
  for (const auto &call : handler.calls) {
    EXPECT_EQ(call.first, 1);
    EXPECT_EQ(call.second, static_cast<uint32_t>(ERROR_ACCESS_DENIED));
  }
  file.Close();
}

} // namespace
