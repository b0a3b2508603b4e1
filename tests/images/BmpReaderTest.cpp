#include "images/BmpReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "display/DibImage.h"
#include "images/BmpRle.h"
#include "support/BmpFileWriter.h"

namespace {

using BmpFileWriter::Picture;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kHeaderSize = 40;

struct Decoded {
  bool read = false;
  BitmapInfoHeader header{};
  std::vector<RgbQuad> table;
  Bytes pixels; // bottom-up rows as the packed DIB holds them
};

Decoded Read(const Bytes &file) {
  Decoded decoded;
  Bytes dib;
  decoded.read = BmpReader::ReadBmp(file.data(), file.size(), dib);
  if (!decoded.read)
    return decoded;
  std::memcpy(&decoded.header, dib.data(), kHeaderSize);
  const uint32_t entries = decoded.header.biBitCount <= 8 ? 1u << decoded.header.biBitCount : 0;
  decoded.table.resize(entries);
  if (entries != 0)
    std::memcpy(decoded.table.data(), dib.data() + kHeaderSize, entries * sizeof(RgbQuad));
  decoded.pixels.assign(dib.begin() + kHeaderSize + entries * sizeof(RgbQuad), dib.end());
  return decoded;
}

Bytes Range(const Bytes &bytes, size_t from, size_t count) {
  return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
               bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

// The packed DIB's pixels as red, green, blue bytes, top row first, the way a
// PPM file holds them.
[[maybe_unused]] Bytes TopDownRgb(const Bytes &dib) {
  BitmapInfoHeader header;
  std::memcpy(&header, dib.data(), kHeaderSize);
  const uint32_t bits = header.biBitCount;
  const uint32_t entries = bits <= 8 ? 1u << bits : 0;
  const auto *table = reinterpret_cast<const RgbQuad *>(dib.data() + kHeaderSize);
  const uint8_t *pixels = dib.data() + kHeaderSize + entries * sizeof(RgbQuad);
  const uint32_t stride = BmpFileWriter::Stride(header.biWidth, bits);
  Bytes rgb;
  for (int32_t y = header.biHeight - 1; y >= 0; --y) {
    const uint8_t *row = pixels + static_cast<size_t>(y) * stride;
    for (int32_t x = 0; x < header.biWidth; ++x) {
      uint8_t r = 0, g = 0, b = 0;
      if (bits <= 8) {
        const uint32_t perByte = 8 / bits;
        const uint32_t shift = 8 - bits * (1 + static_cast<uint32_t>(x) % perByte);
        const RgbQuad &c = table[(row[static_cast<uint32_t>(x) / perByte] >> shift) & ((1u << bits) - 1)];
        r = c.red, g = c.green, b = c.blue;
      } else if (bits == 16) {
        const uint32_t v = row[2 * x] | row[2 * x + 1] << 8;
        auto five = [](uint32_t c) { return static_cast<uint8_t>(c << 3 | c >> 2); };
        r = five(v >> 10 & 31), g = five(v >> 5 & 31), b = five(v & 31);
      } else {
        const uint8_t *p = row + static_cast<size_t>(x) * (bits / 8);
        b = p[0], g = p[1], r = p[2];
      }
      rgb.insert(rgb.end(), {r, g, b});
    }
  }
  return rgb;
}

// ---- Pictures made a field at a time ------------------------------------

TEST(BmpReaderTest, RowsArePaddedToWholeWords) {
  // 33 one-bit pixels need 5 bytes: the rows take 8.
  Picture picture;
  picture.width = 33;
  picture.height = 2;
  picture.bitCount = 1;
  picture.colors = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  picture.pixels = {0x80, 0, 0, 0, 0x80, 0, 0, 0, 0x01, 0, 0, 0, 0x40, 0, 0, 0};
  const Decoded decoded = Read(BmpFileWriter::Write(picture));
  ASSERT_TRUE(decoded.read);
  EXPECT_EQ(decoded.header.biSizeImage, 16u);
  EXPECT_EQ(decoded.pixels, picture.pixels);
  EXPECT_EQ(decoded.table.size(), 2u);
}

TEST(BmpReaderTest, ACoreHeaderBecomesAnInfoHeaderWithQuads) {
  Picture picture;
  picture.coreHeader = true;
  picture.width = 3;
  picture.height = 1;
  picture.bitCount = 8;
  for (uint32_t i = 0; i < 256; ++i)
    picture.colors.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i / 2), 0});
  picture.pixels = {0, 7, 255, 0};
  const Decoded decoded = Read(BmpFileWriter::Write(picture));
  ASSERT_TRUE(decoded.read);
  EXPECT_EQ(decoded.header.biSize, 40u);
  EXPECT_EQ(decoded.header.biWidth, 3);
  EXPECT_EQ(decoded.header.biHeight, 1);
  EXPECT_EQ(decoded.header.biPlanes, 1);
  EXPECT_EQ(decoded.header.biBitCount, 8);
  EXPECT_EQ(decoded.header.biCompression, 0u);
  EXPECT_EQ(decoded.header.biClrUsed, 0u);
  ASSERT_EQ(decoded.table.size(), 256u);
  for (uint32_t i = 0; i < 256; ++i) {
    const RgbQuad &c = decoded.table[i];
    EXPECT_EQ(c.blue, i);
    EXPECT_EQ(c.green, 255 - i);
    EXPECT_EQ(c.red, i / 2);
    EXPECT_EQ(c.reserved, 0);
  }
  EXPECT_EQ(decoded.pixels, picture.pixels);
}

TEST(BmpReaderTest, TheColourTableAlwaysHasAnEntryForEveryIndex) {
  struct Case {
    const char *name;
    uint16_t bits;
    uint32_t colorsUsed;
    uint32_t entriesInFile;
  };
  // A count above what the depth indexes once overran the table: only
  // 2 to the depth entries are read, the pixels found by their offset.
  const Case cases[] = {
      {"16 of 256", 8, 16, 16},
      {"none said: all", 8, 0, 256},
      {"1000 said for 8 bits", 8, 1000, 256},
      {"all ones said for 8 bits", 8, 0xFFFFFFFF, 256},
      {"300 said for 1 bit", 1, 300, 2},
      {"17 said for 4 bits", 4, 17, 16},
  };
  for (const Case &c : cases) {
    Picture picture;
    picture.width = 4;
    picture.height = 1;
    picture.bitCount = c.bits;
    picture.colorsUsed = c.colorsUsed;
    picture.colors = BmpFileWriter::GreyRamp(c.entriesInFile);
    picture.pixels = {0x11, 0x22, 0x33, 0x44};
    const Decoded decoded = Read(BmpFileWriter::Write(picture));
    ASSERT_TRUE(decoded.read) << c.name;
    ASSERT_EQ(decoded.table.size(), 1u << c.bits) << c.name;
    for (uint32_t i = 0; i < decoded.table.size(); ++i) {
      const uint8_t expected = i < c.entriesInFile ? picture.colors[i].red : 0;
      EXPECT_EQ(decoded.table[i].red, expected) << c.name << " entry " << i;
    }
    EXPECT_EQ(decoded.pixels, picture.pixels) << c.name;
    EXPECT_EQ(decoded.header.biClrUsed, 0u) << c.name;
  }
}

TEST(BmpReaderTest, TopDownRowsComeOutBottomUp) {
  for (uint16_t bits : {8, 24}) {
    Picture picture;
    picture.width = 2;
    picture.height = -3;
    picture.bitCount = bits;
    if (bits == 8)
      picture.colors = BmpFileWriter::GreyRamp(256);
    const uint32_t stride = BmpFileWriter::Stride(2, bits);
    for (uint32_t row = 0; row < 3; ++row)
      for (uint32_t i = 0; i < stride; ++i)
        picture.pixels.push_back(static_cast<uint8_t>(row * 16 + i));
    const Decoded decoded = Read(BmpFileWriter::Write(picture));
    ASSERT_TRUE(decoded.read) << bits;
    EXPECT_EQ(decoded.header.biHeight, 3) << bits;
    for (uint32_t row = 0; row < 3; ++row)
      EXPECT_EQ(Range(decoded.pixels, row * stride, stride), Range(picture.pixels, (2 - row) * stride, stride))
          << bits << " bits, row " << row;
  }
}

TEST(BmpReaderTest, AShortImageSizeFieldStillGivesWholeRows) {
  Picture picture;
  picture.width = 4;
  picture.height = 4;
  picture.bitCount = 24;
  picture.sizeImage = 1;
  for (uint32_t i = 0; i < 48; ++i)
    picture.pixels.push_back(static_cast<uint8_t>(i + 1));
  const Decoded decoded = Read(BmpFileWriter::Write(picture));
  ASSERT_TRUE(decoded.read);
  EXPECT_EQ(decoded.header.biSizeImage, 48u);
  EXPECT_EQ(decoded.pixels, picture.pixels);
}

TEST(BmpReaderTest, BitFieldPicturesBecomePlainOnes) {
  struct Case {
    const char *name;
    uint16_t bits;
    std::vector<uint32_t> masks; // red, green, blue
    Bytes filePixels;            // one row
    uint16_t outBits;
    Bytes outPixels;
  };
  const Case cases[] = {
      {"5-6-5 becomes 24 bits",
       16,
       {0xF800, 0x07E0, 0x001F},
       {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF, 0x10, 0x84},
       24,
       {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 0x84, 0x82, 0x84, 0}},
      {"5-5-5 stays as it is",
       16,
       {0x7C00, 0x03E0, 0x001F},
       {0x00, 0x7C, 0x1F, 0x00, 0, 0},
       16,
       {0x00, 0x7C, 0x1F, 0x00, 0, 0, 0, 0}},
      {"plain 32 bits stay as they are", 32, {0xFF0000, 0xFF00, 0xFF}, {1, 2, 3, 4}, 32, {1, 2, 3, 4}},
      {"red in the low byte is moved", 32, {0xFF, 0xFF00, 0xFF0000}, {1, 2, 3, 4}, 32, {3, 2, 1, 0}},
      {"10-10-10 keep their top bits",
       32,
       {0x3FF00000, 0x000FFC00, 0x000003FF},
       {0xFF, 0x03, 0xF0, 0x3F},
       32,
       {0xFF, 0x00, 0xFF, 0}},
      {"a channel without a mask is black", 16, {0xF800, 0, 0x001F}, {0xFF, 0xFF}, 24, {255, 0, 255, 0}},
  };
  for (const Case &c : cases) {
    Picture picture;
    picture.width = static_cast<int32_t>(c.filePixels.size() / (c.bits / 8));
    picture.height = 1;
    picture.bitCount = c.bits;
    picture.compression = kCompressionBitFields;
    picture.masks = c.masks;
    picture.pixels = c.filePixels;
    picture.pixels.resize(BmpFileWriter::Stride(picture.width, c.bits));
    const Decoded decoded = Read(BmpFileWriter::Write(picture));
    ASSERT_TRUE(decoded.read) << c.name;
    EXPECT_EQ(decoded.header.biBitCount, c.outBits) << c.name;
    EXPECT_EQ(decoded.header.biCompression, 0u) << c.name;
    EXPECT_EQ(decoded.pixels, c.outPixels) << c.name;
  }
}

TEST(BmpReaderTest, RunLengthPicturesAreExpanded) {
  struct Case {
    const char *name;
    uint16_t bits;
    int32_t width;
    int32_t height;
    Bytes data;
    Bytes rows; // bottom row first, padded
  };
  const Case cases[] = {
      {"a delta leaves what it skips at 0",
       8,
       4,
       3,
       {2, 5, 0, 2, 1, 1, 1, 9, 0, 1},
       {5, 5, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0}},
      {"RLE4 runs and literals take the high nibble first",
       4,
       8,
       2,
       {5, 0x12, 0, 3, 0x34, 0x50, 0, 0, 0, 5, 0x67, 0x89, 0xA0, 0, 0, 1},
       {0x12, 0x12, 0x13, 0x45, 0x67, 0x89, 0xA0, 0x00}},
      {"an odd literal is padded to a word", 8, 4, 1, {0, 3, 1, 2, 3, 0, 1, 4, 0, 1}, {1, 2, 3, 4}},
      {"a run does not wrap into the next row", 8, 4, 2, {6, 3, 0, 1}, {3, 3, 3, 3, 0, 0, 0, 0}},
      {"a literal cut by the data's end is dropped", 8, 4, 1, {1, 7, 0, 5, 1, 2}, {7, 0, 0, 0}},
      {"an escape cut by the data's end stops", 8, 4, 1, {2, 7, 0}, {7, 7, 0, 0}},
      {"a delta cut by the data's end stops", 8, 4, 1, {2, 7, 0, 2, 1}, {7, 7, 0, 0}},
      {"a delta above the top stops", 8, 4, 1, {0, 2, 0, 9, 1, 5}, {0, 0, 0, 0}},
      {"rows beyond the top are dropped", 8, 4, 1, {1, 1, 0, 0, 4, 2, 0, 1}, {1, 0, 0, 0}},
      {"data without an end", 8, 4, 2, {4, 6}, {6, 6, 6, 6, 0, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    Picture picture;
    picture.width = c.width;
    picture.height = c.height;
    picture.bitCount = c.bits;
    picture.compression = c.bits == 8 ? 1 : 2;
    picture.colors = BmpFileWriter::GreyRamp(1u << c.bits);
    picture.pixels = c.data;
    const Decoded decoded = Read(BmpFileWriter::Write(picture));
    ASSERT_TRUE(decoded.read) << c.name;
    EXPECT_EQ(decoded.header.biCompression, 0u) << c.name;
    EXPECT_EQ(decoded.header.biBitCount, c.bits) << c.name;
    EXPECT_EQ(decoded.pixels, c.rows) << c.name;
  }
}

TEST(BmpReaderTest, TheRunLengthSizeFieldBoundsTheData) {
  Picture picture;
  picture.width = 4;
  picture.height = 1;
  picture.bitCount = 8;
  picture.compression = 1;
  picture.colors = BmpFileWriter::GreyRamp(256);
  picture.pixels = {2, 7, 2, 8, 0, 1};
  picture.sizeImage = 2; // the second run lies beyond the data
  Decoded decoded = Read(BmpFileWriter::Write(picture));
  ASSERT_TRUE(decoded.read);
  EXPECT_EQ(decoded.pixels, (Bytes{7, 7, 0, 0}));
  picture.sizeImage = 7; // more than the file holds
  EXPECT_FALSE(Read(BmpFileWriter::Write(picture)).read);
}

// A small valid picture of each kind, then one field changed.
Picture Valid24() {
  Picture picture;
  picture.width = 2;
  picture.height = 2;
  picture.bitCount = 24;
  picture.pixels.assign(16, 0x5A);
  return picture;
}

TEST(BmpReaderTest, WhatCannotBeReadIsRefusedBeforeAnythingIsAllocated) {
  struct Case {
    const char *name;
    Picture picture;
  };
  std::vector<Case> cases;
  auto add = [&cases](const char *name, auto change) {
    Picture picture = Valid24();
    change(picture);
    cases.push_back({name, picture});
  };
  add("zero width", [](Picture &p) { p.width = 0; });
  add("negative width", [](Picture &p) { p.width = -2; });
  add("zero height", [](Picture &p) { p.height = 0; });
  add("the most negative height", [](Picture &p) { p.height = INT32_MIN; });
  add("huge in both directions", [](Picture &p) { p.width = p.height = 0x7FFFFFFF; });
  add("a row longer than 32 bits count", [](Picture &p) { p.width = 0x7FFFFFFF, p.height = 1, p.bitCount = 32; });
  add("huge top-down", [](Picture &p) { p.width = 0x10000, p.height = -0x10000; });
  add("rows one byte short", [](Picture &p) { p.pixels.pop_back(); });
  add("pixels beyond the file", [](Picture &p) { p.offBits = 1000; });
  add("pixel offset past the end", [](Picture &p) { p.offBits = 0xFFFFFFFF; });
  for (uint16_t bits : {0, 2, 3, 7, 48, 64})
    add("a depth without pixels of its own", [bits](Picture &p) { p.bitCount = bits; });
  for (uint32_t compression : {4u, 5u, 6u, 11u, 0x7FFFFFFFu, 0xFFFFFFFFu})
    add("an unknown compression", [compression](Picture &p) { p.compression = compression; });
  add("RLE8 of 24 bits", [](Picture &p) { p.compression = 1; });
  add("RLE4 of 8 bits", [](Picture &p) { p.compression = 2, p.bitCount = 8, p.colors = BmpFileWriter::GreyRamp(256); });
  add("RLE8 top-down", [](Picture &p) {
    p.compression = 1, p.bitCount = 8, p.height = -2, p.colors = BmpFileWriter::GreyRamp(256);
    p.pixels = {0, 1};
  });
  add("a run-length picture too large to expand", [](Picture &p) {
    p.compression = 1, p.bitCount = 8, p.width = 30000, p.height = 30000, p.colors = BmpFileWriter::GreyRamp(256);
    p.pixels = {0, 1};
  });
  add("bit fields of 24 bits", [](Picture &p) { p.compression = 3, p.masks = {0xFF0000, 0xFF00, 0xFF}; });
  add("bit fields without their masks", [](Picture &p) { p.compression = 3, p.bitCount = 32, p.pixels = {}; });
  add("a mask with a gap", [](Picture &p) {
    p.compression = 3, p.bitCount = 16, p.masks = {0xF00F, 0x07E0, 0x001F}, p.pixels.assign(8, 0);
  });
  add("a mask wider than the pixel", [](Picture &p) {
    p.compression = 3, p.bitCount = 16, p.masks = {0x1F800, 0x07E0, 0x001F}, p.pixels.assign(8, 0);
  });
  add("a colour table cut short",
      [](Picture &p) { p.bitCount = 8, p.colors = BmpFileWriter::GreyRamp(100), p.pixels = {}; });
  for (const Case &c : cases)
    EXPECT_FALSE(Read(BmpFileWriter::Write(c.picture)).read) << c.name;

  // Headers this reader does not know, and files too short for one.
  Bytes file = BmpFileWriter::Write(Valid24());
  for (uint32_t headerSize : {0u, 16u, 56u, 64u, 108u, 124u, 0xFFFFFFFFu}) {
    Bytes changed = file;
    std::memcpy(&changed[14], &headerSize, 4);
    EXPECT_FALSE(Read(changed).read) << "header size " << headerSize;
  }
  Bytes notBm = file;
  notBm[1] = 'A';
  EXPECT_FALSE(Read(notBm).read) << "not BM";
  for (size_t length : {size_t{0}, size_t{2}, size_t{14}, size_t{17}, size_t{18}, size_t{53}})
    EXPECT_FALSE(Read(Range(file, 0, length)).read) << "cut to " << length << " bytes";
  Picture core;
  core.coreHeader = true, core.width = 0, core.height = 1, core.pixels.assign(4, 0);
  EXPECT_FALSE(Read(BmpFileWriter::Write(core)).read) << "core header of zero width";
  EXPECT_TRUE(Read(file).read) << "the unchanged file";
}

// ---- Files of real tools against a second decoder --------------------------

// The corpus is made and compared in the host tree only; the Win32 tree
// leaves these tests out rather than report them as skipped.
#ifdef VOR_BMP_CORPUS_DIR

std::string CorpusPath(const std::string &name) { return std::string(VOR_BMP_CORPUS_DIR) + "/" + name; }

Bytes ReadFileBytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A binary PPM's pixels (maxval 255), and its size.
Bytes PpmPixels(const Bytes &ppm, int32_t &width, int32_t &height) {
  std::string text(ppm.begin(), ppm.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(ppm.size(), 64)));
  std::istringstream header(text);
  std::string magic;
  int32_t maxval = 0;
  header >> magic >> width >> height >> maxval;
  if (magic != "P6" || maxval != 255)
    return {};
  const size_t start = static_cast<size_t>(header.tellg()) + 1;
  return Bytes(ppm.begin() + static_cast<std::ptrdiff_t>(start), ppm.end());
}

// A version-5 bit-field file rewritten with a 40-byte header and its masks
// behind it, pixel data unchanged.
Bytes WithInfoHeader(const Bytes &v5) {
  uint32_t offBits;
  std::memcpy(&offBits, &v5[10], 4);
  Bytes file(v5.begin(), v5.begin() + 14 + 40);
  const uint32_t newOffBits = 14 + 40 + 12;
  std::memcpy(&file[10], &newOffBits, 4);
  file[14] = 40, file[15] = file[16] = file[17] = 0;
  file.insert(file.end(), v5.begin() + 14 + 40, v5.begin() + 14 + 52);
  file.insert(file.end(), v5.begin() + offBits, v5.end());
  return file;
}

// An uncompressed file with its rows reversed and its height negated.
Bytes AsTopDown(const Bytes &file) {
  uint32_t offBits;
  int32_t width, height;
  uint16_t bits;
  std::memcpy(&offBits, &file[10], 4);
  std::memcpy(&width, &file[18], 4);
  std::memcpy(&height, &file[22], 4);
  std::memcpy(&bits, &file[28], 2);
  const uint32_t stride = BmpFileWriter::Stride(width, bits);
  Bytes topDown(file.begin(), file.begin() + offBits);
  for (int32_t y = height - 1; y >= 0; --y) {
    const auto row = file.begin() + offBits + static_cast<std::ptrdiff_t>(y) * stride;
    topDown.insert(topDown.end(), row, row + stride);
  }
  const int32_t negated = -height;
  std::memcpy(&topDown[22], &negated, 4);
  return topDown;
}

TEST(BmpReaderTest, FilesOfRealToolsDecodeAsASecondDecoderDecodesThem) {
  std::ifstream list(CorpusPath("corpus.txt"));
  if (!list)
    GTEST_SKIP() << "no corpus: ImageMagick's convert was not found when the tests were built";
  std::string bmpName, ppmName;
  int32_t compared = 0;
  while (list >> bmpName >> ppmName) {
    int32_t width = 0, height = 0;
    const Bytes reference = PpmPixels(ReadFileBytes(CorpusPath(ppmName)), width, height);
    ASSERT_FALSE(reference.empty()) << ppmName;
    Bytes file = ReadFileBytes(CorpusPath(bmpName));
    if (bmpName.rfind("v5", 0) == 0)
      file = WithInfoHeader(file);
    std::vector<std::pair<std::string, Bytes>> forms = {{bmpName, file}};
    uint32_t compression;
    std::memcpy(&compression, &file[30], 4);
    if (file[14] == 40 && compression == 0)
      forms.push_back({bmpName + " top-down", AsTopDown(file)});
    for (const auto &form : forms) {
      Bytes dib;
      ASSERT_TRUE(BmpReader::ReadBmp(form.second.data(), form.second.size(), dib)) << form.first;
      DibImage image;
      ASSERT_TRUE(image.Attach(dib.data(), dib.size())) << form.first;
      EXPECT_EQ(image.GetWidth(), width) << form.first;
      EXPECT_EQ(image.GetHeight(), height) << form.first;
      EXPECT_EQ(image.GetPackedSize(), dib.size()) << form.first;
      EXPECT_TRUE(TopDownRgb(dib) == reference) << form.first << " differs from " << ppmName;
      ++compared;
    }
  }
  EXPECT_GE(compared, 13);
}

TEST(BmpReaderTest, OddAndBrokenFilesAreReadOrRefusedWithoutHarm) {
  std::ifstream list(CorpusPath("odd.txt"));
  std::string name;
  if (!list || !(list >> name))
    GTEST_SKIP() << "no odd files: Debian's gdk-pixbuf-tests is not installed";
  do {
    const Bytes file = ReadFileBytes(CorpusPath(name));
    Bytes dib;
    if (!BmpReader::ReadBmp(file.data(), file.size(), dib))
      continue;
    // What is read is a whole packed DIB that an image attaches to.
    DibImage image;
    EXPECT_TRUE(image.Attach(dib.data(), dib.size())) << name;
    EXPECT_EQ(image.GetPackedSize(), dib.size()) << name;
  } while (list >> name);
}

#endif // VOR_BMP_CORPUS_DIR

} // namespace
