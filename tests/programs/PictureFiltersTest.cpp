#include "PictureFilters.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/DibTypes.h"
#include "images/ImageLoader.h"
#include "support/PictureFileWriter.h"
#include "support/ProgramDriver.h"

namespace {

constexpr uint32_t kTop = 0x00208040; // 0x00BBGGRR
constexpr uint32_t kBottom = 0x00C0A060;

const PictureFileWriter::TwoColours kPicture{64, 48, kTop, kBottom};

// The colour of a held packed DIB at (x, y) counted from the top, as
// 0x00BBGGRR, whatever its depth (8 bits through the colour table, 24 or 32
// bits stored blue first).
uint32_t PixelAt(const uint8_t *dib, int32_t x, int32_t y) {
  const auto *header = reinterpret_cast<const BitmapInfoHeader *>(dib);
  const int32_t height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  const int32_t row = header->biHeight < 0 ? y : height - 1 - y;
  const uint32_t bits = header->biBitCount;
  uint32_t colours = bits <= 8 ? (header->biClrUsed != 0 ? header->biClrUsed : 1U << bits) : 0;
  const uint32_t stride = (static_cast<uint32_t>(header->biWidth) * bits + 31) / 32 * 4;
  const uint8_t *pixels = dib + header->biSize + colours * 4 + static_cast<uint32_t>(row) * stride;
  if (bits == 8) {
    const uint8_t *quad = dib + header->biSize + pixels[x] * 4U;
    return static_cast<uint32_t>(quad[2]) | quad[1] << 8 | quad[0] << 16;
  }
  if (bits == 4) {
    const uint8_t index = x % 2 == 0 ? pixels[x / 2] >> 4 : pixels[x / 2] & 0x0F;
    const uint8_t *quad = dib + header->biSize + index * 4U;
    return static_cast<uint32_t>(quad[2]) | quad[1] << 8 | quad[0] << 16;
  }
  const uint8_t *p = pixels + static_cast<uint32_t>(x) * (bits / 8);
  return static_cast<uint32_t>(p[2]) | p[1] << 8 | p[0] << 16;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF);
    if (d > tolerance || d < -tolerance)
      return false;
  }
  return true;
}

class PictureFiltersTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char *extension : {"pcx", "tga", "png", "jpg", "cgm", "bmp"}) {
      const std::vector<uint8_t> bytes = PictureFileWriter::Write(extension, kPicture);
      folder.WriteFile(std::string("picture.") + extension, std::string(bytes.begin(), bytes.end()));
    }
  }
  void TearDown() override {
    for (ImageFileFormat format : {ImageFileFormat::kPcx, ImageFileFormat::kTga, ImageFileFormat::kJpg,
                                   ImageFileFormat::kCgm, ImageFileFormat::kPng})
      ImageLoader::SetFormatReader(format, nullptr);
  }
  std::string Path(const char *extension) const { return folder.File(std::string("picture.") + extension); }

  ScratchFolder folder;
};

// The full player's start-up: every format loads through the loader with
// its two colours where they belong.
TEST_F(PictureFiltersTest, TheFullPlayerLoadsEveryFormatThroughTheLoader) {
  InstallPictureFilters();
  for (const char *extension : {"pcx", "tga", "png", "jpg", "cgm", "bmp"}) {
    ImageLoader loader;
    ASSERT_EQ(loader.LoadFile(Path(extension).c_str()), ImageLoader::kLoaded) << extension;
    const uint8_t *dib = loader.GetImage();
    ASSERT_NE(dib, nullptr) << extension;
    const auto *header = reinterpret_cast<const BitmapInfoHeader *>(dib);
    const int32_t width = header->biWidth;
    const int32_t height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    const int tolerance = std::string(extension) == "jpg" ? 3 : 0;
    EXPECT_TRUE(Near(PixelAt(dib, width / 2, height / 4), kTop, tolerance))
        << extension << " top " << std::hex << PixelAt(dib, width / 2, height / 4);
    EXPECT_TRUE(Near(PixelAt(dib, width / 2, height * 3 / 4), kBottom, tolerance))
        << extension << " bottom " << std::hex << PixelAt(dib, width / 2, height * 3 / 4);
    EXPECT_EQ(loader.GetErrorWord(), 0) << extension;
  }
}

// Failures come back as the loader's answer, and as its error word only for
// the formats whose codes it keeps (PCX and CGM; TGA, JPEG and PNG tell by
// the answer alone).
TEST_F(PictureFiltersTest, FilterCodesReachTheErrorWordOnlyWhereTheFormatKeepsThem) {
  InstallPictureFilters();
  struct Case {
    const char *extension;
    int32_t errorWord;
  };
  for (const Case c : {Case{"pcx", 314}, Case{"cgm", 332}, Case{"tga", 0}, Case{"jpg", 0}, Case{"png", 0}}) {
    // Longer than any header, so each reader sees a whole one.
    folder.WriteFile(std::string("bad.") + c.extension, std::string(200, 'n'));
    ImageLoader loader;
    EXPECT_EQ(loader.LoadFile(folder.File(std::string("bad.") + c.extension).c_str()), ImageLoader::kNotLoaded)
        << c.extension;
    EXPECT_EQ(loader.GetImage(), nullptr) << c.extension;
    EXPECT_EQ(loader.GetErrorWord(), c.errorWord) << c.extension;
  }
  ImageLoader missing;
  EXPECT_EQ(missing.LoadFile(folder.File("absent.pcx").c_str()), ImageLoader::kNotLoaded);
  EXPECT_EQ(missing.GetErrorWord(), 201);
}

// The compact player's and the screen saver's start-up installs nothing:
// BMP loads, the filters' formats do not, and leave no error word.
TEST_F(PictureFiltersTest, WithoutTheFiltersOnlyBmpLoads) {
  ImageLoader loader;
  EXPECT_EQ(loader.LoadFile(Path("bmp").c_str()), ImageLoader::kLoaded);
  for (const char *extension : {"pcx", "tga", "png", "jpg", "cgm"}) {
    EXPECT_EQ(loader.LoadFile(Path(extension).c_str()), ImageLoader::kNotLoaded) << extension;
    EXPECT_EQ(loader.GetImage(), nullptr) << extension;
    EXPECT_EQ(loader.GetErrorWord(), 0) << extension;
  }
}

} // namespace
