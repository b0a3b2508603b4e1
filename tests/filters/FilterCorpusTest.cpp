#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "filters/ImportFilters.h"
#include "filters/MemoryFilterIo.h"

// The real corpus (written into the build tree by make_filter_corpus.py):
// every file that must decode gives the reference decoder's pixels, every
// file that must be refused is, and every file is read without a fault.

namespace {

const std::string kCorpus = VOR_FILTER_CORPUS;

std::vector<std::string> Lines(const std::string &name) {
  std::ifstream list(kCorpus + "/" + name);
  std::vector<std::string> lines;
  for (std::string line; std::getline(list, line);)
    if (!line.empty())
      lines.push_back(line);
  return lines;
}

std::vector<uint8_t> FileBytes(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

bool EndsWith(const std::string &text, const std::string &end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

FilterResult Import(const std::string &path, FilterHandle *picture) {
  if (EndsWith(path, ".png")) {
    FilterHandle second = nullptr;
    int16_t value = 0;
    return ImportPngImage(nullptr, 0, path.c_str(), picture, &second, &value);
  }
  if (EndsWith(path, ".tga")) {
    FilterHandle second = nullptr;
    return ImportTgaImage(nullptr, 0, path.c_str(), picture, &second);
  }
  return ImportPcxImage(nullptr, 0, path.c_str(), picture);
}

// The packed DIB's pixels as red, green, blue from the top row down.
std::vector<uint8_t> DibToRgb(const uint8_t *dib, uint32_t &width, uint32_t &height) {
  const auto *header = reinterpret_cast<const BitmapInfoHeader *>(dib);
  width = static_cast<uint32_t>(header->biWidth);
  height = static_cast<uint32_t>(header->biHeight);
  const auto *colours = reinterpret_cast<const RgbQuad *>(dib + header->biSize);
  const uint8_t *bits = dib + header->biSize + header->biClrUsed * sizeof(RgbQuad);
  const uint32_t stride = (width * header->biBitCount + 31) / 32 * 4;
  std::vector<uint8_t> rgb;
  rgb.reserve(size_t{width} * height * 3);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t *row = bits + size_t{height - 1 - y} * stride;
    for (uint32_t x = 0; x < width; ++x) {
      if (header->biBitCount == 24) {
        rgb.insert(rgb.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
        continue;
      }
      uint32_t index = 0;
      if (header->biBitCount == 8)
        index = row[x];
      else if (header->biBitCount == 4)
        index = (row[x / 2] >> (x % 2 == 0 ? 4 : 0)) & 0xF;
      else
        index = (row[x / 8] >> (7 - x % 8)) & 1;
      const RgbQuad &colour = colours[index];
      rgb.insert(rgb.end(), {colour.red, colour.green, colour.blue});
    }
  }
  return rgb;
}

TEST(FilterCorpusTest, ValidFilesGiveTheReferencePixels) {
  const std::vector<std::string> names = Lines("valid.txt");
  if (names.empty())
    GTEST_SKIP() << "no corpus in " << kCorpus << " (scripts/setup installs its sources)";
  for (const std::string &name : names) {
    SCOPED_TRACE(name);
    const std::string path = kCorpus + "/" + name;
    FilterHandle picture = nullptr;
    const FilterResult result = Import(path, &picture);
    ASSERT_EQ(kFilterSuccess, result);
    const std::vector<uint8_t> reference = FileBytes(path + ".rgb");
    ASSERT_GE(reference.size(), 8U);
    const uint32_t refWidth = reference[0] | reference[1] << 8 | reference[2] << 16 | uint32_t{reference[3]} << 24;
    const uint32_t refHeight = reference[4] | reference[5] << 8 | reference[6] << 16 | uint32_t{reference[7]} << 24;
    uint32_t width = 0;
    uint32_t height = 0;
    const std::vector<uint8_t> rgb =
        DibToRgb(static_cast<const uint8_t *>(ActiveFilterIo().Lock(picture)), width, height);
    ActiveFilterIo().Unlock(picture);
    ActiveFilterIo().Free(picture);
    ASSERT_EQ(refWidth, width);
    ASSERT_EQ(refHeight, height);
    const size_t pixels = size_t{width} * height;
    ASSERT_EQ(8 + pixels * 4, reference.size());
    size_t differing = 0;
    size_t first = pixels;
    for (size_t i = 0; i < pixels; ++i) {
      if (reference[8 + 3 * pixels + i] == 0)
        continue; // transparent in the reference: its colour is not defined
      for (size_t c = 0; c < 3; ++c) {
        if (rgb[3 * i + c] != reference[8 + 3 * i + c]) {
          ++differing;
          if (first == pixels)
            first = i;
          break;
        }
      }
    }
    EXPECT_EQ(0U, differing) << "first at x " << (first % width) << ", y " << (first / width) << ": ours "
                             << int(rgb[3 * first]) << "," << int(rgb[3 * first + 1]) << "," << int(rgb[3 * first + 2])
                             << " reference " << int(reference[8 + 3 * first]) << ","
                             << int(reference[8 + 3 * first + 1]) << "," << int(reference[8 + 3 * first + 2]);
  }
}

TEST(FilterCorpusTest, BadFilesAreRefusedAndOthersReadSafely) {
  const std::vector<std::string> refused = Lines("refused.txt");
  if (refused.empty())
    GTEST_SKIP() << "no corpus in " << kCorpus;
  for (const std::string &name : refused) {
    FilterHandle picture = nullptr;
    EXPECT_NE(kFilterSuccess, Import(kCorpus + "/" + name, &picture)) << name;
    EXPECT_EQ(nullptr, picture) << name;
  }
  for (const std::string &name : Lines("safe.txt")) {
    FilterHandle picture = nullptr;
    if (Import(kCorpus + "/" + name, &picture) == kFilterSuccess)
      ActiveFilterIo().Free(picture);
  }
}

// Where each chunk of a PNG file starts, and its type.
std::vector<std::pair<size_t, std::string>> ChunkStarts(const std::vector<uint8_t> &png) {
  std::vector<std::pair<size_t, std::string>> chunks;
  for (size_t at = 8; at + 8 <= png.size();) {
    const size_t length = size_t{png[at]} << 24 | size_t{png[at + 1]} << 16 | size_t{png[at + 2]} << 8 | png[at + 3];
    chunks.emplace_back(at,
                        std::string(png.begin() + static_cast<long>(at) + 4, png.begin() + static_cast<long>(at) + 8));
    at += 12 + length;
  }
  return chunks;
}

std::vector<uint8_t> DecodeBytes(const std::vector<uint8_t> &png, FilterResult &result) {
  MemoryFilterIo io;
  io.AddFile("cut.png", png);
  FilterHandle picture = nullptr;
  FilterHandle second = nullptr;
  int16_t value = 0;
  result = ImportPngImage(nullptr, 0, "cut.png", &picture, &second, &value);
  if (result != kFilterSuccess)
    return {};
  std::vector<uint8_t> dib = io.BlockBytes(picture);
  io.Free(picture);
  return dib;
}

// PngSuite pictures (and interlaced ones of ImageMagick's) cut at several points: inside the header or the palette
// they are refused; inside the image data they show what the data held (a
// pixel is the whole picture's or still zero, rows from the top for plain
// pictures), more of it the later the cut.
TEST(FilterCorpusTest, CutPngsShowTheRowsTheyHold) {
  const char *const names[] = {"png-basn2c08.png", "png-basn3p04.png",           "png-basn0g16.png",
                               "png-basn6a08.png", "png-im-interlaced-rgb8.png", "png-im-interlaced-grey8.png"};
  for (const char *name : names) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> png = FileBytes(kCorpus + "/" + name);
    if (png.empty())
      GTEST_SKIP() << "no " << name << " in " << kCorpus;
    FilterResult result = kFilterSuccess;
    const std::vector<uint8_t> whole = DecodeBytes(png, result);
    ASSERT_EQ(kFilterSuccess, result);
    const auto *header = reinterpret_cast<const BitmapInfoHeader *>(whole.data());
    const size_t bitsAt = header->biSize + header->biClrUsed * 4;
    const size_t stride = (header->biWidth * header->biBitCount + 31) / 32 * 4;
    const bool interlaced = std::string(name).find("interlaced") != std::string::npos;

    size_t idat = 0;
    size_t iend = 0;
    for (const auto &[at, type] : ChunkStarts(png)) {
      if (type == "IHDR" || type == "PLTE") {
        DecodeBytes(std::vector<uint8_t>(png.begin(), png.begin() + static_cast<long>(at) + 12), result);
        EXPECT_EQ(kFilterReadError, result) << "cut inside " << type;
      }
      if (type == "IDAT" && idat == 0)
        idat = at;
      if (type == "IEND")
        iend = at;
    }
    ASSERT_LT(idat, iend);
    size_t shownBefore = 0;
    for (const double part : {0.0, 0.2, 0.5, 0.8, 1.0}) {
      const size_t size = idat + 8 + static_cast<size_t>(part * static_cast<double>(iend - idat - 8));
      SCOPED_TRACE(size);
      const std::vector<uint8_t> dib =
          DecodeBytes(std::vector<uint8_t>(png.begin(), png.begin() + static_cast<long>(size)), result);
      ASSERT_EQ(kFilterSuccess, result);
      ASSERT_EQ(whole.size(), dib.size());
      EXPECT_TRUE(std::equal(whole.begin(), whole.begin() + static_cast<long>(bitsAt), dib.begin()));
      size_t shown = 0;
      size_t wrong = 0;
      for (size_t i = bitsAt; i < dib.size(); ++i) {
        shown += dib[i] == whole[i] && whole[i] != 0 ? 1 : 0;
        wrong += dib[i] != whole[i] && dib[i] != 0 ? 1 : 0;
      }
      EXPECT_EQ(0U, wrong);
      EXPECT_GE(shown, shownBefore);
      if (part == 0.5) {
        EXPECT_GT(shown, 0U) << "half the data shows part of the picture";
      }
      shownBefore = shown;
      if (!interlaced) {
        // Rows bottom-up in the DIB: the shown rows are the top ones.
        size_t topRowsShown = 0;
        for (int32_t y = 0; y < header->biHeight; ++y) {
          const size_t row = bitsAt + static_cast<size_t>(header->biHeight - 1 - y) * stride;
          if (!std::equal(dib.begin() + static_cast<long>(row), dib.begin() + static_cast<long>(row + stride),
                          whole.begin() + static_cast<long>(row)))
            break;
          ++topRowsShown;
        }
        for (size_t i = bitsAt; i < bitsAt + (header->biHeight - topRowsShown) * stride; ++i)
          ASSERT_EQ(0, dib[i]) << "below the rows shown";
      }
      if (part == 1.0) {
        EXPECT_EQ(whole, dib);
      }
    }
    EXPECT_GT(shownBefore, 0U);
  }
}

} // namespace
