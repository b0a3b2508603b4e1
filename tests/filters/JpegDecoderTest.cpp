#include "filters/JpegDecoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "display/DibTypes.h"
#include "filters/FilterIo.h"
#include "filters/ImportFilters.h"
#include "support/TempFile.h"

namespace {

// Plain memory that counts what is still out.
class CountingMemory : public JpegPictureMemory {
public:
  ~CountingMemory() override {
    for (uint8_t *block : m_blocks)
      std::free(block);
  }
  uint8_t *Allocate(uint64_t bytes) override {
    auto *block = static_cast<uint8_t *>(std::calloc(1, static_cast<size_t>(bytes)));
    if (block)
      m_blocks.insert(block);
    return block;
  }
  void Free(uint8_t *block) override {
    m_blocks.erase(block);
    std::free(block);
  }
  size_t Outstanding() const { return m_blocks.size(); }

private:
  std::set<uint8_t *> m_blocks;
};

struct Decoded {
  uint16_t result = 0;
  JpegDescription description;
  JpegPicture picture;

  const BitmapInfoHeader &Header() const { return *reinterpret_cast<const BitmapInfoHeader *>(picture.dib); }
  uint32_t Stride() const { return ((Header().biWidth * Header().biBitCount + 31) / 32) * 4; }
  // Pixel row y counted from the picture's top.
  const uint8_t *Row(uint32_t y) const {
    const uint32_t colours = Header().biClrUsed;
    return picture.dib + kBitmapInfoHeaderSize + colours * 4 + (Header().biHeight - 1 - y) * Stride();
  }
};

Decoded DecodeFile(const std::string &path, CountingMemory &memory, JpegDecodeRequest request = {}) {
  Decoded decoded;
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (!file) {
    ADD_FAILURE() << "cannot open " << path;
    decoded.result = 201;
    return decoded;
  }
  decoded.result = JpegDecoder::Decode(file, request, memory, decoded.description, decoded.picture);
  std::fclose(file);
  return decoded;
}

Decoded DecodeBytes(const std::vector<uint8_t> &bytes, CountingMemory &memory, JpegDecodeRequest request = {}) {
  TempFile file(".jpg");
  EXPECT_TRUE(file.Write(bytes));
  return DecodeFile(file.Path(), memory, request);
}

std::vector<uint8_t> ReadAll(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A binary PPM (P6) or PGM (P5) with maximum 255.
struct Netpbm {
  uint32_t width = 0, height = 0, channels = 0;
  std::vector<uint8_t> pixels;
};

Netpbm ReadNetpbm(const std::string &path) {
  const std::vector<uint8_t> bytes = ReadAll(path);
  Netpbm image;
  size_t at = 0;
  auto token = [&]() {
    while (at < bytes.size() && std::isspace(bytes[at]))
      ++at;
    std::string word;
    while (at < bytes.size() && !std::isspace(bytes[at]))
      word += static_cast<char>(bytes[at++]);
    return word;
  };
  const std::string magic = token();
  image.channels = magic == "P6" ? 3 : 1;
  image.width = static_cast<uint32_t>(std::stoul(token()));
  image.height = static_cast<uint32_t>(std::stoul(token()));
  token(); // maximum value
  ++at;
  image.pixels.assign(bytes.begin() + static_cast<long>(at), bytes.end());
  return image;
}

std::string CorpusPath(const std::string &name) {
  const char *folder = std::getenv("VOR_FILTER_CORPUS");
  return std::string(folder ? folder : "") + "/jpeg-corpus/" + name;
}

// A JPEG of one colour, written by the library's own compressor.
std::vector<uint8_t> EncodeSolid(uint32_t width, uint32_t height, uint8_t red, uint8_t green, uint8_t blue) {
  jpeg_compress_struct info{};
  jpeg_error_mgr error{};
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char *buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(width * 3);
  for (uint32_t x = 0; x < width; ++x) {
    row[x * 3] = red;
    row[x * 3 + 1] = green;
    row[x * 3 + 2] = blue;
  }
  while (info.next_scanline < height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return bytes;
}

// The 701-byte picture description that stands before a striped picture.
std::vector<uint8_t> PictureDescription(uint16_t width, uint16_t height) {
  std::vector<uint8_t> bytes(701, 0);
  bytes[544] = static_cast<uint8_t>(height >> 8);
  bytes[545] = static_cast<uint8_t>(height);
  bytes[546] = static_cast<uint8_t>(width >> 8);
  bytes[547] = static_cast<uint8_t>(width);
  std::memcpy(bytes.data() + 689, "Photo - JPEG", 12);
  return bytes;
}

void Append(std::vector<uint8_t> &to, const std::vector<uint8_t> &bytes) {
  to.insert(to.end(), bytes.begin(), bytes.end());
}

bool Near(int a, int b) { return std::abs(a - b) <= 3; }

TEST(JpegDecoderTest, DecodesTheCorpusAsDjpegDoes) {
  // Every chroma subsampling, progressive, restart markers with optimised
  // tables, and a file cut in the middle of its scan.
  for (const char *name :
       {"sample-1x1", "sample-2x1", "sample-2x2", "sample-4x1", "progressive", "restart", "truncated"}) {
    SCOPED_TRACE(name);
    CountingMemory memory;
    const Decoded decoded = DecodeFile(CorpusPath(std::string(name) + ".jpg"), memory);
    ASSERT_EQ(decoded.result, JpegDecoder::kSuccess);
    const Netpbm reference = ReadNetpbm(CorpusPath(std::string(name) + ".ppm"));
    ASSERT_EQ(decoded.Header().biWidth, static_cast<int32_t>(reference.width));
    ASSERT_EQ(decoded.Header().biHeight, static_cast<int32_t>(reference.height));
    ASSERT_EQ(decoded.Header().biBitCount, 24);
    EXPECT_EQ(decoded.description.planes, 3);
    int differences = 0;
    for (uint32_t y = 0; y < reference.height; ++y) {
      const uint8_t *row = decoded.Row(y);
      const uint8_t *expected = reference.pixels.data() + y * reference.width * 3;
      for (uint32_t x = 0; x < reference.width; ++x)
        differences += row[x * 3] != expected[x * 3 + 2] || row[x * 3 + 1] != expected[x * 3 + 1] ||
                       row[x * 3 + 2] != expected[x * 3];
    }
    EXPECT_EQ(differences, 0);
    // The padding at each row's end stays zero.
    const uint32_t padding = decoded.Stride() - reference.width * 3;
    for (uint32_t y = 0; y < reference.height; ++y)
      for (uint32_t i = 0; i < padding; ++i)
        ASSERT_EQ(decoded.Row(y)[reference.width * 3 + i], 0);
  }
}

TEST(JpegDecoderTest, GreyPicturesAreEightBitWithAGreyRamp) {
  CountingMemory memory;
  const Decoded decoded = DecodeFile(CorpusPath("grey.jpg"), memory);
  ASSERT_EQ(decoded.result, JpegDecoder::kSuccess);
  EXPECT_TRUE(decoded.description.grey);
  EXPECT_EQ(decoded.description.planes, 1);
  ASSERT_EQ(decoded.Header().biBitCount, 8);
  ASSERT_EQ(decoded.Header().biClrUsed, 256u);
  const auto *table = reinterpret_cast<const RgbQuad *>(decoded.picture.dib + kBitmapInfoHeaderSize);
  for (int i = 0; i < 256; ++i)
    ASSERT_TRUE(table[i].red == i && table[i].green == i && table[i].blue == i) << i;
  const Netpbm reference = ReadNetpbm(CorpusPath("grey.pgm"));
  for (uint32_t y = 0; y < reference.height; ++y)
    ASSERT_EQ(std::memcmp(decoded.Row(y), reference.pixels.data() + y * reference.width, reference.width), 0) << y;
}

TEST(JpegDecoderTest, AdobeCmykBecomesRgbFromInvertedInks) {
  CountingMemory memory;
  const Decoded decoded = DecodeFile(CorpusPath("cmyk.jpg"), memory);
  ASSERT_EQ(decoded.result, JpegDecoder::kSuccess);
  EXPECT_EQ(decoded.description.planes, 4);
  ASSERT_EQ(decoded.Header().biBitCount, 24);
  // ImageMagick's reading gives the true inks; the file stores them
  // inverted, and red = max(0, inverted cyan + inverted black - 255).
  const std::vector<uint8_t> inks = ReadAll(CorpusPath("cmyk.raw"));
  const auto width = static_cast<uint32_t>(decoded.Header().biWidth);
  ASSERT_EQ(inks.size(), size_t{width} * decoded.Header().biHeight * 4);
  int differences = 0;
  for (uint32_t y = 0; y < static_cast<uint32_t>(decoded.Header().biHeight); ++y)
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t *ink = inks.data() + (y * width + x) * 4;
      const uint8_t *pixel = decoded.Row(y) + x * 3;
      for (int channel = 0; channel < 3; ++channel) {
        const int expected = std::max(0, 255 - ink[channel] - ink[3]);
        differences += !Near(pixel[2 - channel], expected);
      }
    }
  EXPECT_EQ(differences, 0);
}

TEST(JpegDecoderTest, ReadsTheDescriptionOnly) {
  CountingMemory memory;
  JpegDecodeRequest request;
  request.decode = false;
  const Decoded decoded = DecodeFile(CorpusPath("sample-2x2.jpg"), memory, request);
  EXPECT_EQ(decoded.result, JpegDecoder::kSuccess);
  EXPECT_EQ(decoded.description.width, 203u);
  EXPECT_EQ(decoded.description.height, 133u);
  EXPECT_EQ(decoded.description.bitsPerPlane, 8);
  EXPECT_EQ(decoded.picture.dib, nullptr);
  EXPECT_EQ(memory.Outstanding(), 0u);
}

TEST(JpegDecoderTest, DensityBecomesPixelsPerMetre) {
  // The JFIF header's unit byte lies at offset 13, the densities after it.
  struct Case {
    uint8_t unit;
    int32_t expected;
  };
  for (const Case &c : {Case{0, 0}, Case{1, 72 * 39}, Case{2, 72 * 100}}) {
    std::vector<uint8_t> bytes = EncodeSolid(8, 8, 10, 20, 30);
    ASSERT_EQ(std::memcmp(bytes.data() + 6, "JFIF", 4), 0);
    bytes[13] = c.unit;
    bytes[14] = 0, bytes[15] = 72, bytes[16] = 0, bytes[17] = 72;
    CountingMemory memory;
    const Decoded decoded = DecodeBytes(bytes, memory);
    ASSERT_EQ(decoded.result, JpegDecoder::kSuccess);
    EXPECT_EQ(decoded.Header().biXPelsPerMeter, c.expected) << int{c.unit};
    EXPECT_EQ(decoded.Header().biYPelsPerMeter, c.expected) << int{c.unit};
  }
}

TEST(JpegDecoderTest, StripsBehindAPictureDescriptionFillOneDib) {
  std::vector<uint8_t> file = PictureDescription(16, 32);
  Append(file, EncodeSolid(16, 16, 255, 0, 0));
  Append(file, EncodeSolid(16, 16, 0, 0, 255));
  CountingMemory memory;
  const Decoded decoded = DecodeBytes(file, memory);
  ASSERT_EQ(decoded.result, JpegDecoder::kSuccess);
  ASSERT_EQ(decoded.Header().biHeight, 32);
  EXPECT_EQ(decoded.description.height, 32u);
  // Top strip red, bottom strip blue (pixels in blue, green, red order).
  EXPECT_TRUE(Near(decoded.Row(0)[2], 255) && Near(decoded.Row(0)[0], 0));
  EXPECT_TRUE(Near(decoded.Row(15)[2], 255));
  EXPECT_TRUE(Near(decoded.Row(16)[0], 255) && Near(decoded.Row(16)[2], 0));
  EXPECT_TRUE(Near(decoded.Row(31)[0], 255));
}

TEST(JpegDecoderTest, ADibFullBeforeTheStripsEndIsAWholePicture) {
  // The description says 20 rows; the strips hold 32. The second strip is
  // dropped unfinished after its fourth row.
  std::vector<uint8_t> file = PictureDescription(16, 20);
  Append(file, EncodeSolid(16, 16, 255, 0, 0));
  Append(file, EncodeSolid(16, 16, 0, 255, 0));
  CountingMemory memory;
  const Decoded decoded = DecodeBytes(file, memory);
  ASSERT_EQ(decoded.result, JpegDecoder::kSuccess);
  ASSERT_EQ(decoded.Header().biHeight, 20);
  EXPECT_TRUE(Near(decoded.Row(19)[1], 255));
  // Fewer rows than one datastream holds: the same.
  std::vector<uint8_t> shortDescription = PictureDescription(16, 5);
  Append(shortDescription, EncodeSolid(16, 16, 255, 0, 0));
  const Decoded cut = DecodeBytes(shortDescription, memory);
  ASSERT_EQ(cut.result, JpegDecoder::kSuccess);
  EXPECT_EQ(cut.Header().biHeight, 5);
}

TEST(JpegDecoderTest, APlainFileIsOneDatastreamWhateverFollows) {
  std::vector<uint8_t> file = EncodeSolid(16, 16, 255, 0, 0);
  Append(file, EncodeSolid(32, 32, 0, 0, 255));
  CountingMemory memory;
  const Decoded decoded = DecodeBytes(file, memory);
  ASSERT_EQ(decoded.result, JpegDecoder::kSuccess);
  EXPECT_EQ(decoded.Header().biWidth, 16);
  EXPECT_EQ(decoded.Header().biHeight, 16);
}

TEST(JpegDecoderTest, RefusedInputsLeaveNothingAllocated) {
  const std::vector<uint8_t> red = EncodeSolid(16, 16, 255, 0, 0);
  std::vector<uint8_t> otherWidth = PictureDescription(16, 32);
  Append(otherWidth, red);
  Append(otherWidth, EncodeSolid(24, 16, 0, 0, 255));
  std::vector<uint8_t> tooManyStrips = PictureDescription(16, 16);
  for (int i = 0; i < 1025; ++i)
    Append(tooManyStrips, {0xFF, 0xD8, 0xFF, 0x00});
  std::vector<uint8_t> zeroHeight = PictureDescription(16, 0);
  Append(zeroHeight, red);
  std::vector<uint8_t> cutHeader(red.begin(), red.begin() + 40);
  // A frame header claiming 60000 x 60000 pixels: 10 GB of DIB.
  std::vector<uint8_t> huge = red;
  for (size_t i = 0; i + 8 < huge.size(); ++i)
    if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
      huge[i + 5] = 0xEA, huge[i + 6] = 0x60, huge[i + 7] = 0xEA, huge[i + 8] = 0x60;
      break;
    }
  // 5000 x 5000 pixels (75 MB of DIB, within the limit) from a few hundred
  // bytes: each 8 x 8 block takes at least a bit, and 390625 blocks do not
  // fit in the file.
  std::vector<uint8_t> unheld = red;
  for (size_t i = 0; i + 8 < unheld.size(); ++i)
    if (unheld[i] == 0xFF && unheld[i + 1] == 0xC0) {
      unheld[i + 5] = 0x13, unheld[i + 6] = 0x88, unheld[i + 7] = 0x13, unheld[i + 8] = 0x88;
      break;
    }
  struct Case {
    const char *name;
    std::vector<uint8_t> bytes;
    uint16_t expected;
  };
  const std::vector<Case> cases = {
      {"empty", {}, JpegDecoder::kLibraryError},
      {"a picture the file cannot hold", unheld, JpegDecoder::kBadData},
      {"no start of image", {'G', 'I', 'F', '8', '9', 'a', 0, 0}, JpegDecoder::kLibraryError},
      {"start of image then nothing", {0xFF, 0xD8, 0xFF}, JpegDecoder::kLibraryError},
      {"header cut short", cutHeader, JpegDecoder::kLibraryError},
      {"strip of another width", otherWidth, JpegDecoder::kBadData},
      {"1025 starts of image", tooManyStrips, JpegDecoder::kTooManyPictures},
      {"description with no rows", zeroHeight, JpegDecoder::kBadData},
      {"picture too large", huge, JpegDecoder::kOutOfMemory},
  };
  for (const Case &c : cases) {
    CountingMemory memory;
    const Decoded decoded = DecodeBytes(c.bytes, memory);
    EXPECT_EQ(decoded.result, c.expected) << c.name;
    EXPECT_EQ(decoded.picture.dib, nullptr) << c.name;
    EXPECT_EQ(memory.Outstanding(), 0u) << c.name;
  }
}

TEST(JpegDecoderTest, ProgressRisesToAHundredAndMayCancel) {
  std::vector<int32_t> reports;
  JpegDecodeRequest request;
  request.progress = [&](int32_t done) {
    reports.push_back(done);
    return false;
  };
  CountingMemory memory;
  ASSERT_EQ(DecodeFile(CorpusPath("sample-2x2.jpg"), memory, request).result, JpegDecoder::kSuccess);
  ASSERT_GE(reports.size(), 50u);
  EXPECT_EQ(reports.back(), 100);
  for (size_t i = 1; i < reports.size(); ++i)
    EXPECT_LE(reports[i - 1], reports[i]);

  CountingMemory cancelMemory;
  request.progress = [](int32_t) { return true; };
  const Decoded cancelled = DecodeFile(CorpusPath("sample-2x2.jpg"), cancelMemory, request);
  EXPECT_EQ(cancelled.result, JpegDecoder::kCancelled);
  EXPECT_EQ(cancelled.picture.dib, nullptr);
  EXPECT_EQ(cancelMemory.Outstanding(), 0u);
}

TEST(JpegReaderTest, TheEntryPointHandsOutTheDibOrACode) {
  FilterHandle picture = nullptr;
  ASSERT_EQ(ImportJpegImage(nullptr, 0, CorpusPath("sample-2x1.jpg").c_str(), &picture), kFilterSuccess);
  ASSERT_NE(picture, nullptr);
  {
    FilterLock lock(picture);
    const auto *header = static_cast<const BitmapInfoHeader *>(lock.Data());
    EXPECT_EQ(header->biWidth, 203);
    EXPECT_EQ(header->biHeight, 133);
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_EQ(header->biSizeImage, 612u * 133u);
  }
  ActiveFilterIo().Free(picture);

  picture = nullptr;
  EXPECT_EQ(ImportJpegImage(nullptr, 0, CorpusPath("no-such-file.jpg").c_str(), &picture), kFilterCannotOpen);
  EXPECT_EQ(ImportJpegImage(nullptr, 0, "", &picture), kFilterBadArgument);
  EXPECT_EQ(ImportJpegImage(nullptr, 0, CorpusPath("source.ppm").c_str(), &picture), kFilterJpegError);
  EXPECT_EQ(picture, nullptr);
}

} // namespace
