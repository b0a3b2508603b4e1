#include "vorfile/XQImageFile.h"

#include "support/MemoryFile.h"
#include "support/TempFile.h"
#include "vorfile/VORFileException.h"
#include "vorfile/XQFileStream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kHeaderSize = 40;

// The packed DIB that the next loader hands out, and what became of loaders.
struct LoaderScript {
  std::vector<uint8_t> image;
  bool loads = true;
  int created = 0;
  int alive = 0;
  std::string lastPath;
} g_script;

class FakeLoader : public XQImageFile::Loader {
public:
  FakeLoader() {
    ++g_script.created;
    ++g_script.alive;
  }
  ~FakeLoader() override { --g_script.alive; }
  bool Load(const char *path) override {
    g_script.lastPath = path;
    if (!g_script.loads)
      return false;
    m_image = g_script.image;
    return true;
  }
  const uint8_t *GetImage() const override { return m_image.empty() ? nullptr : m_image.data(); }
  uint32_t GetImageBlockSize() const override { return static_cast<uint32_t>(m_image.size()); }

private:
  std::vector<uint8_t> m_image;
};

std::unique_ptr<XQImageFile::Loader> MakeFakeLoader() { return std::make_unique<FakeLoader>(); }

void Put32(std::vector<uint8_t> &bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A 40-byte DIB header followed by `extra` bytes of a running count, so
// every byte read tells where it came from.
std::vector<uint8_t> PackedDib(int32_t width, int32_t height, uint16_t bitCount, uint32_t coloursUsed, uint32_t extra) {
  std::vector<uint8_t> dib = CountingBytes(kHeaderSize + extra);
  std::memset(dib.data(), 0, kHeaderSize);
  Put32(dib, 0, kHeaderSize);
  Put32(dib, 4, static_cast<uint32_t>(width));
  Put32(dib, 8, static_cast<uint32_t>(height));
  dib[12] = 1;
  dib[14] = static_cast<uint8_t>(bitCount);
  dib[15] = static_cast<uint8_t>(bitCount >> 8);
  Put32(dib, 32, coloursUsed);
  return dib;
}

// A 24-bit picture 3 pixels wide and 2 high: 64 bytes as a packed DIB.
void ResetScript() {
  g_script = LoaderScript();
  g_script.image = PackedDib(3, 2, 24, 0, 24);
  XQImageFile::SetLoaderFactory(MakeFakeLoader);
}

class XQImageFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_previousFactory = XQImageFile::SetLoaderFactory(nullptr);
    ResetScript();
    ASSERT_TRUE(m_picture.Write(std::string("stands for a picture")));
  }
  void TearDown() override { XQImageFile::SetLoaderFactory(m_previousFactory); }

  TempFile m_picture{".bmp"};
  XQImageFile::LoaderFactory m_previousFactory = nullptr;
};

TEST_F(XQImageFileTest, LengthComesFromTheDibHeader) {
  struct Case {
    const char *name;
    int32_t width, height;
    uint16_t bitCount;
    uint32_t coloursUsed;
    uint32_t expectedLength;
  } cases[] = {
      {"24-bit 3x2: rows of 12 bytes, no colours", 3, 2, 24, 0, 2 * 12 + 40},
      {"1-bit 33 wide: rows of 8 bytes, 2 colours", 33, 1, 1, 0, 8 + 2 * 4 + 40},
      {"8-bit, all 256 colours", 4, 1, 8, 0, 4 + 256 * 4 + 40},
      {"8-bit, 16 colours used", 4, 1, 8, 16, 4 + 16 * 4 + 40},
      {"32-bit ignores colours used", 1, 1, 32, 5, 4 + 40},
      {"top-down picture", 3, -2, 24, 0, 2 * 12 + 40},
  };
  for (const Case &c : cases) {
    g_script.image = PackedDib(c.width, c.height, c.bitCount, c.coloursUsed, 2000);
    XQImageFile file(m_picture.Path());
    ASSERT_TRUE(file.Open(XQFile::kRead)) << c.name;
    uint32_t size = 0;
    int32_t time = 0;
    ASSERT_TRUE(file.GetSizeAndTime(size, time)) << c.name;
    EXPECT_EQ(size, c.expectedLength) << c.name;
    file.Close();
  }
}

// The header comes from a picture file: what it claims must not reach
// beyond the memory block, nor overflow on the way.
TEST_F(XQImageFileTest, LengthNeverExceedsTheBlock) {
  constexpr uint32_t kExtra = 100;
  struct Case {
    const char *name;
    int32_t width, height;
    uint16_t bitCount;
    uint32_t coloursUsed;
  } cases[] = {
      {"more rows than the block", 3, 1000, 24, 0},
      {"product past 32 bits", 0x10000, 0x10000, 32, 0},
      {"product past 64 bits", INT32_MAX, INT32_MAX, 0xFFFF, 0},
      {"most negative sizes", INT32_MIN, INT32_MIN, 24, 0},
      {"huge colour count", 1, 1, 8, 0xFFFFFFFF},
  };
  for (const Case &c : cases) {
    g_script.image = PackedDib(c.width, c.height, c.bitCount, c.coloursUsed, kExtra);
    XQImageFile file(m_picture.Path());
    ASSERT_TRUE(file.Open(XQFile::kRead)) << c.name;
    EXPECT_FALSE(file.Seek(kHeaderSize + kExtra, XQFile::kSeekStart)) << c.name;
    ASSERT_TRUE(file.Seek(kHeaderSize + kExtra - 1, XQFile::kSeekStart)) << c.name;
    uint8_t bytes[16];
    uint32_t got = 0;
    EXPECT_TRUE(file.Read(bytes, sizeof bytes, got)) << c.name;
    EXPECT_EQ(got, 1u) << c.name;
    file.Close();
  }
}

TEST_F(XQImageFileTest, OpenFailsWithoutAPicture) {
  struct Case {
    const char *name;
    std::function<void()> arrange;
    bool loaderAsked;
  } cases[] = {
      {"loader refuses", [] { g_script.loads = false; }, true},
      {"loader gives no image", [] { g_script.image.clear(); }, true},
      {"block shorter than a header", [] { g_script.image.resize(kHeaderSize - 1); }, true},
      {"no loader installed", [] { XQImageFile::SetLoaderFactory(nullptr); }, false},
  };
  for (const Case &c : cases) {
    ResetScript();
    c.arrange();
    XQImageFile file(m_picture.Path());
    EXPECT_FALSE(file.Open(XQFile::kRead)) << c.name;
    EXPECT_EQ(file.GetOpenCount(), 0u) << c.name;
    EXPECT_EQ(g_script.created, c.loaderAsked ? 1 : 0) << c.name;
    EXPECT_EQ(g_script.alive, 0) << c.name;
  }
}

TEST_F(XQImageFileTest, MissingFileFailsBeforeLoading) {
  TempFile missing(".bmp");
  XQImageFile file(missing.Path());
  EXPECT_FALSE(file.Open(XQFile::kRead));
  EXPECT_FALSE(file.Exists());
  EXPECT_EQ(g_script.created, 0);
}

TEST_F(XQImageFileTest, ImageStaysUntilTheLastClose) {
  XQImageFile file(m_picture.Path());
  ASSERT_TRUE(file.Open(XQFile::kRead));
  ASSERT_TRUE(file.Open(XQFile::kRead));
  EXPECT_EQ(g_script.created, 1);
  EXPECT_EQ(g_script.lastPath, m_picture.Path());
  file.Close();
  EXPECT_EQ(g_script.alive, 1);
  uint8_t byte = 0;
  uint32_t got = 0;
  EXPECT_TRUE(file.Read(&byte, 1, got));
  file.Close();
  EXPECT_EQ(g_script.alive, 0);
  file.Close(); // no further effect
  EXPECT_EQ(file.GetOpenCount(), 0u);
}

TEST_F(XQImageFileTest, ReadCopiesFromThePositionWithoutMovingIt) {
  XQImageFile file(m_picture.Path());
  ASSERT_TRUE(file.Open(XQFile::kRead));
  ASSERT_TRUE(file.Seek(60, XQFile::kSeekStart));
  uint8_t bytes[10] = {};
  uint32_t got = 0;
  ASSERT_TRUE(file.Read(bytes, sizeof bytes, got));
  EXPECT_EQ(got, 4u) << "the file ends at 64";
  EXPECT_EQ(std::vector<uint8_t>(bytes, bytes + got),
            std::vector<uint8_t>(g_script.image.begin() + 60, g_script.image.end()));
  EXPECT_EQ(file.Tell(), 60);
  file.Close();
}

TEST_F(XQImageFileTest, Seek) {
  constexpr uint32_t kStart = 10;
  struct Case {
    const char *name;
    int32_t offset;
    int32_t origin;
    bool result;
    int32_t position;
  } cases[] = {
      {"set", 63, XQFile::kSeekStart, true, 63},
      {"add", 5, XQFile::kSeekCurrent, true, 15},
      {"exactly the length", 64, XQFile::kSeekStart, false, kStart},
      {"past the length", 55, XQFile::kSeekCurrent, false, kStart},
      {"before the start", -11, XQFile::kSeekCurrent, false, kStart},
      {"far before the start", INT32_MIN, XQFile::kSeekCurrent, false, kStart},
      {"far past the end", INT32_MAX, XQFile::kSeekCurrent, false, kStart},
      {"unknown origin", 0, 3, false, kStart},
  };
  XQImageFile file(m_picture.Path());
  ASSERT_TRUE(file.Open(XQFile::kRead));
  for (const Case &c : cases) {
    ASSERT_TRUE(file.Seek(kStart, XQFile::kSeekStart));
    EXPECT_EQ(file.Seek(c.offset, c.origin), c.result) << c.name;
    EXPECT_EQ(file.Tell(), c.position) << c.name;
  }
  file.Close();
}

TEST_F(XQImageFileTest, MisuseIsAnAssertionWithItsLine) {
  XQImageFile file(m_picture.Path());
  uint8_t byte = 0;
  uint32_t count = 0;
  struct Case {
    const char *name;
    std::function<void()> misuse;
    int32_t line;
  } cases[] = {
      {"read while closed", [&] { file.Read(&byte, 1, count); }, 128},
      {"write", [&] { file.Write(&byte, 1, count); }, 144},
      {"seek from the end", [&] { file.Seek(0, XQFile::kSeekEnd); }, 163},
  };
  for (const Case &c : cases) {
    try {
      c.misuse();
      ADD_FAILURE() << c.name << " did not throw";
    } catch (const VORFileAssertException &e) {
      EXPECT_STREQ(e.GetSourceName(), "vorfile\\XQImageFile") << c.name;
      EXPECT_EQ(e.GetLine(), c.line) << c.name;
    }
    ASSERT_TRUE(file.Open(XQFile::kRead)); // write and seek fail while open too
  }
}

TEST_F(XQImageFileTest, SizeOfAClosedFileTakesOneOpenAndClose) {
  XQImageFile file(m_picture.Path());
  uint32_t size = 0;
  int32_t time = -1;
  ASSERT_TRUE(file.GetSizeAndTime(size, time));
  EXPECT_EQ(size, 64u);
  EXPECT_NE(time, -1);
  EXPECT_EQ(g_script.created, 1);
  EXPECT_EQ(g_script.alive, 0);
  EXPECT_EQ(file.GetOpenCount(), 0u);
  ASSERT_TRUE(file.GetSizeAndTime(size, time));
  EXPECT_EQ(g_script.created, 1) << "the length is kept";
}

TEST_F(XQImageFileTest, SameFileIsAnImageFileOfTheSameNameAndTime) {
  TempFile otherPicture(".bmp");
  ASSERT_TRUE(otherPicture.Write(std::string("another")));
  XQImageFile file(m_picture.Path());
  XQImageFile sameName(m_picture.Path());
  XQImageFile otherName(otherPicture.Path());
  MemoryFile notAnImage({}, m_picture.Path());
  EXPECT_TRUE(file.IsSameFile(sameName));
  EXPECT_FALSE(file.IsSameFile(otherName));
  EXPECT_FALSE(file.IsSameFile(notAnImage));

  m_picture.Remove();
  XQImageFile vanished(m_picture.Path());
  EXPECT_FALSE(vanished.IsSameFile(sameName));
}

// A stream seeks before every read, which is what moves through the picture.
TEST_F(XQImageFileTest, StreamReadsThePictureInOrder) {
  XQImageFile file(m_picture.Path());
  ASSERT_TRUE(file.Open(XQFile::kRead));
  XQFileStream stream(file);
  std::vector<uint8_t> all;
  uint8_t bytes[20];
  uint32_t got = 0;
  while (stream.Read(bytes, sizeof bytes, got) && got > 0)
    all.insert(all.end(), bytes, bytes + got);
  EXPECT_EQ(all, g_script.image);
  file.Close();
}

} // namespace
