#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filters/ImportFilters.h"
#include "filters/Inflater.h"
#include "filters/MemoryFilterIo.h"

// Hand-made PCX, TGA and PNG files, each showing one rule: the result codes,
// the hostile headers refused before anything is allocated or read past,
// and every block and the file released on every failure.

namespace {

using Bytes = std::vector<uint8_t>;

struct Decoded {
  FilterResult result = kFilterSuccess;
  Bytes dib; // the packed DIB on success
  int16_t value = 0;
};

// Runs a reader over bytes as a file; checks that nothing is left behind.
Decoded Decode(FilterReader reader, const Bytes &file, FilterProgressCallback callback = nullptr) {
  MemoryFilterIo io;
  io.AddFile("f", file);
  FilterContext context{};
  InitFilterContext(context, callback, 0, "f");
  context.value = -1;
  Decoded decoded;
  decoded.result = reader(&context);
  decoded.value = context.value;
  if (decoded.result == kFilterSuccess) {
    const auto *records = static_cast<const FilterImageRecord *>(io.Lock(context.records));
    decoded.dib = io.BlockBytes(records[0].picture);
    io.Free(records[0].picture);
    FreeFilterRecords(context);
  }
  EXPECT_EQ(0U, io.LiveBlocks());
  EXPECT_EQ(0U, io.OpenFiles());
  return decoded;
}

const BitmapInfoHeader &Header(const Decoded &d) { return *reinterpret_cast<const BitmapInfoHeader *>(d.dib.data()); }
const RgbQuad *Colours(const Decoded &d) { return reinterpret_cast<const RgbQuad *>(d.dib.data() + 40); }
// Row y from the top.
const uint8_t *Row(const Decoded &d, uint32_t y) {
  const BitmapInfoHeader &h = Header(d);
  const uint32_t stride = (h.biWidth * h.biBitCount + 31) / 32 * 4;
  return d.dib.data() + 40 + h.biClrUsed * 4 + (h.biHeight - 1 - y) * stride;
}

void Put16(Bytes &b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}

// ---- PCX

Bytes Pcx(uint8_t bitsPerPlane, uint8_t planes, uint16_t width, uint16_t height, uint16_t bytesPerLine,
          uint8_t version = 5) {
  Bytes b(128, 0);
  b[0] = 10;
  b[1] = version;
  b[2] = 1;
  b[3] = bitsPerPlane;
  Put16(b, 8, width - 1U);
  Put16(b, 10, height - 1U);
  for (int i = 0; i < 48; ++i)
    b[16 + i] = static_cast<uint8_t>(i * 5);
  b[65] = planes;
  Put16(b, 66, bytesPerLine);
  return b;
}

TEST(PcxReaderTest, RefusesBadHeadersWithTheirCodes) {
  struct Case {
    const char *what;
    Bytes file;
    FilterResult expected;
  };
  Bytes notPcx = Pcx(8, 1, 4, 2, 4);
  notPcx[0] = 11;
  Bytes unencoded = Pcx(8, 1, 4, 2, 4);
  unencoded[2] = 0;
  Bytes backwards = Pcx(8, 1, 4, 2, 4);
  Put16(backwards, 4, 9); // xmin past xmax
  const std::vector<Case> cases = {
      {"first byte not 10", notPcx, kFilterNotPcx},
      {"encoding 0", unencoded, kFilterNotPcx},
      {"xmax below xmin", backwards, kFilterNotPcx},
      {"width 32768", Pcx(8, 1, 32768, 2, 32768), kFilterTooLarge},
      {"bytes per line short of the width", Pcx(8, 1, 40, 2, 4), kFilterReadError},
      {"two 2-bit planes", Pcx(2, 2, 4, 2, 1), kFilterNotPcx},
      {"four 2-bit planes", Pcx(2, 4, 4, 2, 2), kFilterNotPcx},
      {"four 8-bit planes", Pcx(8, 4, 4, 2, 4), kFilterNotPcx},
      {"lines missing", Pcx(8, 1, 4, 2, 4), kFilterReadError},
      {"header cut", Bytes(100, 10), kFilterReadError},
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.expected, Decode(ReadPcxFile, c.file).result) << c.what;
}

TEST(PcxReaderTest, EightBitsTakeTheEndPaletteAndRunsStopAtTheLineEnd) {
  Bytes file = Pcx(8, 1, 4, 2, 4);
  // Line 1: a run of 6 sevens (two past the line's end are dropped); line 2: 1 2 3 3.
  file.insert(file.end(), {0xC6, 7, 1, 2, 0xC2, 3});
  file.push_back(12);
  for (int i = 0; i < 768; ++i)
    file.push_back(static_cast<uint8_t>(i / 3));
  const Decoded d = Decode(ReadPcxFile, file);
  ASSERT_EQ(kFilterSuccess, d.result);
  EXPECT_EQ(8, Header(d).biBitCount);
  EXPECT_EQ(Bytes({7, 7, 7, 7}), Bytes(Row(d, 0), Row(d, 0) + 4));
  EXPECT_EQ(Bytes({1, 2, 3, 3}), Bytes(Row(d, 1), Row(d, 1) + 4));
  EXPECT_EQ(5, Colours(d)[5].red);
}

TEST(PcxReaderTest, FourPlanesCombineIntoFourBitPixelsWithTheRightTable) {
  // 8 pixels, one byte a plane: plane p has its bit set at pixel p.
  Bytes file = Pcx(1, 4, 8, 1, 1);
  file.insert(file.end(), {0x80, 0x40, 0x20, 0x10});
  const Decoded d = Decode(ReadPcxFile, file);
  ASSERT_EQ(kFilterSuccess, d.result);
  EXPECT_EQ(4, Header(d).biBitCount);
  EXPECT_EQ(Bytes({0x12, 0x48, 0x00, 0x00}), Bytes(Row(d, 0), Row(d, 0) + 4));
  EXPECT_EQ(15, Colours(d)[1].red); // the header's palette: entry 1 is 15, 20, 25
  Bytes old = file;
  old[1] = 3; // version 3: the default table
  const Decoded v3 = Decode(ReadPcxFile, old);
  ASSERT_EQ(kFilterSuccess, v3.result);
  EXPECT_EQ(191, Colours(v3)[1].blue);
  EXPECT_EQ(0, Colours(v3)[1].red);
}

TEST(PcxReaderTest, TwoBitPixelsWidenToFourBitsWithTheFirstFourColours) {
  // Five pixels 0 1 2 3 2 in two bytes of 2-bit pixels, then a run of three
  // pixels of 3 (a byte 0xFF) on the second line.
  Bytes file = Pcx(2, 1, 5, 2, 2);
  file.insert(file.end(), {0x1B, 0x80, 0xC2, 0xFF});
  const Decoded d = Decode(ReadPcxFile, file);
  ASSERT_EQ(kFilterSuccess, d.result);
  EXPECT_EQ(4, Header(d).biBitCount);
  EXPECT_EQ(16U, Header(d).biClrUsed);
  EXPECT_EQ(Bytes({0x01, 0x23, 0x20, 0x00}), Bytes(Row(d, 0), Row(d, 0) + 4));
  EXPECT_EQ(Bytes({0x33, 0x33, 0x30, 0x00}), Bytes(Row(d, 1), Row(d, 1) + 4));
  EXPECT_EQ(45, Colours(d)[3].red); // the header's palette: entry 3 is 45, 50, 55
  EXPECT_EQ(55, Colours(d)[3].blue);
}

int32_t Cancel(FilterProgress *progress) { return progress->done > 0 || progress->total != 100 ? 1 : 0; }
int32_t CancelAll(FilterProgress *) { return 1; }

TEST(FilterReadersTest, ACancelGives100AndNoPicture) {
  Bytes pcx = Pcx(8, 1, 4, 2, 4);
  pcx.insert(pcx.end(), {0xC4, 7, 0xC4, 1});
  pcx.resize(pcx.size() + 769, 0);
  for (FilterProgressCallback callback : {Cancel, CancelAll})
    EXPECT_EQ(kFilterCancelled, Decode(ReadPcxFile, pcx, callback).result);
}

// ---- TGA

Bytes Tga(uint8_t type, uint16_t width, uint16_t height, uint8_t bits, uint8_t descriptor = 0) {
  Bytes b(18, 0);
  b[2] = type;
  Put16(b, 12, width);
  Put16(b, 14, height);
  b[16] = bits;
  b[17] = descriptor;
  return b;
}

Bytes MappedTga(uint16_t origin, uint16_t length, uint8_t entryBits, uint8_t type = 1, uint8_t bits = 8) {
  Bytes b = Tga(type, 2, 2, bits);
  b[1] = 1;
  Put16(b, 3, origin);
  Put16(b, 5, length);
  b[7] = entryBits;
  return b;
}

TEST(TgaReaderTest, RefusesWhatWouldOverflowItsDib) {
  struct Case {
    const char *what;
    Bytes file;
    FilterResult expected;
  };
  const std::vector<Case> cases = {
      {"1 x 100", Tga(2, 1, 100, 24), kFilterBadTga},
      {"32768 wide", Tga(2, 32768, 2, 24), kFilterTooLarge},
      {"12 bits", Tga(2, 2, 2, 12), kFilterBadTga},
      {"true colour at 8 bits", Tga(2, 2, 2, 8), kFilterBadTga},
      {"grey at 16 bits", Tga(3, 2, 2, 16), kFilterBadTga},
      {"colour map at 24 bits", MappedTga(0, 2, 24, 1, 24), kFilterBadTga},
      {"unknown type 5", Tga(5, 2, 2, 8), kFilterBadTga},
      {"map of 0 entries", MappedTga(0, 0, 24), kFilterBadTga},
      {"map of 257 entries", MappedTga(0, 257, 24), kFilterBadTga},
      {"map origin + length past 256", MappedTga(200, 100, 24), kFilterBadTga},
      {"map entries of 8 bits", MappedTga(0, 2, 8), kFilterBadTga},
      {"pixels missing", Tga(2, 2, 2, 24), kFilterReadError},
      {"header cut", Bytes(10, 0), kFilterReadError},
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.expected, Decode(ReadTgaFile, c.file).result) << c.what;
}

TEST(TgaReaderTest, ThirtyTwoBitMapEntriesAreFourBytesEach) {
  Bytes file = MappedTga(0, 2, 32);
  file.insert(file.end(), {1, 2, 3, 255, 4, 5, 6, 255}); // blue, green, red, alpha
  file.insert(file.end(), {0, 1, 1, 0});
  const Decoded d = Decode(ReadTgaFile, file);
  ASSERT_EQ(kFilterSuccess, d.result);
  EXPECT_EQ(4, Colours(d)[1].blue);
  EXPECT_EQ(6, Colours(d)[1].red);
  EXPECT_EQ(1, Row(d, 1)[0] == 0 && Row(d, 1)[1] == 1); // first file row at the bottom
}

TEST(TgaReaderTest, RunsAcrossRowsMatchPlainPixelsAndStopAtTheLastPixel) {
  const Bytes pixels = {10, 10, 10, 20, 20, 20, 30, 30, 30, 40, 40, 40, 50, 50, 50, 60, 60, 60};
  Bytes plain = Tga(2, 3, 2, 24);
  plain.insert(plain.end(), pixels.begin(), pixels.end());
  // Literal packets of 3 (ending a row), 1 and 1, then a repeat packet of 9
  // for the last pixel: its 8 pixels past the end are dropped.
  Bytes rle = Tga(10, 3, 2, 24);
  rle.insert(rle.end(),
             {0x02, 10, 10, 10, 20, 20, 20, 30, 30, 30, 0x00, 40, 40, 40, 0x00, 50, 50, 50, 0x88, 60, 60, 60});
  const Decoded a = Decode(ReadTgaFile, plain);
  const Decoded b = Decode(ReadTgaFile, rle);
  ASSERT_EQ(kFilterSuccess, a.result);
  ASSERT_EQ(kFilterSuccess, b.result);
  EXPECT_EQ(a.dib, b.dib);
  EXPECT_EQ(40, Row(a, 0)[0]); // bottom-up file: its second row is the top
  Bytes topDown = plain;
  topDown[17] = 0x20;
  EXPECT_EQ(10, Row(Decode(ReadTgaFile, topDown), 0)[0]);
}

// ---- PNG, written with stored deflate blocks

uint32_t Adler(const Bytes &data) {
  uint32_t a = 1, b = 0;
  for (uint8_t v : data) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

Bytes ZlibStored(const Bytes &data) {
  Bytes z = {0x78, 0x01, 1};
  z.push_back(static_cast<uint8_t>(data.size()));
  z.push_back(static_cast<uint8_t>(data.size() >> 8));
  z.push_back(static_cast<uint8_t>(~data.size()));
  z.push_back(static_cast<uint8_t>(~data.size() >> 8));
  z.insert(z.end(), data.begin(), data.end());
  const uint32_t adler = Adler(data);
  for (int s = 24; s >= 0; s -= 8)
    z.push_back(static_cast<uint8_t>(adler >> s));
  return z;
}

void Chunk(Bytes &png, const char *type, const Bytes &data) {
  for (int s = 24; s >= 0; s -= 8)
    png.push_back(static_cast<uint8_t>(data.size() >> s));
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  png.insert(png.end(), 4, 0); // CRCs are not checked
}

Bytes Ihdr(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType, uint8_t interlace = 0) {
  return {0,
          0,
          static_cast<uint8_t>(width >> 8),
          static_cast<uint8_t>(width),
          0,
          0,
          static_cast<uint8_t>(height >> 8),
          static_cast<uint8_t>(height),
          depth,
          colourType,
          0,
          0,
          interlace};
}

Bytes Png(const std::vector<std::pair<const char *, Bytes>> &chunks) {
  Bytes png = {137, 80, 78, 71, 13, 10, 26, 10};
  for (const auto &chunk : chunks)
    Chunk(png, chunk.first, chunk.second);
  return png;
}

Bytes Cut(Bytes file, size_t size) {
  file.resize(size);
  return file;
}

TEST(PngReaderTest, ChunkOrderAndHeaderRules) {
  const Bytes rows = ZlibStored({0, 0x40});
  const Bytes ihdr = Ihdr(1, 1, 2, 0);
  struct Case {
    const char *what;
    Bytes file;
    FilterResult expected;
  };
  Bytes badSignature = Png({{"IHDR", ihdr}});
  badSignature[1] = 'Q';
  const std::vector<Case> cases = {
      {"no signature", badSignature, kFilterNotPng},
      {"first chunk not IHDR", Png({{"tEXt", {}}, {"IHDR", ihdr}}), kFilterPngChunkOrder},
      {"IDAT before IHDR", Png({{"IDAT", rows}}), kFilterPngNoHeader},
      {"second IHDR", Png({{"IHDR", ihdr}, {"IHDR", ihdr}}), kFilterPngChunkOrder},
      {"IHDR of 12 bytes", Png({{"IHDR", Bytes(12, 1)}}), kFilterPngHeaderLength},
      {"depth 3", Png({{"IHDR", Ihdr(1, 1, 3, 0)}}), kFilterNotPng},
      {"RGB at 4 bits", Png({{"IHDR", Ihdr(1, 1, 4, 2)}}), kFilterNotPng},
      {"width 0", Png({{"IHDR", Ihdr(0, 1, 8, 0)}}), kFilterNotPng},
      {"filter type 5", Png({{"IHDR", ihdr}, {"IDAT", ZlibStored({5, 0})}, {"IEND", {}}}), kFilterReadError},
      {"PLTE of 4 bytes", Png({{"IHDR", Ihdr(1, 1, 8, 3)}, {"PLTE", Bytes(4, 0)}}), kFilterPngChunkLength},
      {"tRNS longer than PLTE", Png({{"IHDR", Ihdr(1, 1, 8, 3)}, {"PLTE", Bytes(3, 0)}, {"tRNS", Bytes(2, 0)}}),
       kFilterPngChunkLength},
      {"cut inside IHDR", Cut(Png({{"IHDR", ihdr}}), 20), kFilterReadError},
      {"cut inside PLTE", Cut(Png({{"IHDR", Ihdr(1, 1, 8, 3)}, {"PLTE", Bytes(9, 1)}}), 45), kFilterReadError},
      {"cut before the image data", Png({{"IHDR", ihdr}, {"gAMA", Bytes(4, 0)}}), kFilterReadError},
      {"no image data before IEND", Png({{"IHDR", ihdr}, {"IEND", {}}}), kFilterReadError},
      {"grey tRNS of 300 bytes", Png({{"IHDR", ihdr}, {"tRNS", Bytes(300, 1)}, {"IDAT", rows}, {"IEND", {}}}),
       kFilterSuccess},
      {"PLTE after another chunk",
       Png({{"IHDR", Ihdr(1, 1, 8, 3)},
            {"gAMA", Bytes(4, 0)},
            {"PLTE", Bytes(3, 9)},
            {"IDAT", ZlibStored({0, 0})},
            {"IEND", {}}}),
       kFilterSuccess},
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.expected, Decode(ReadPngFile, c.file).result) << c.what;
}

TEST(PngReaderTest, ImageDataEndingEarlyShowsTheRowsItHolds) {
  // Three rows of 8-bit grey, each 2 pixels; the stream holds the first row
  // and half of the second.
  const Bytes stream = ZlibStored({0, 11, 12, 0, 21, 22, 0, 31, 32});
  const Bytes cut(stream.begin(), stream.begin() + 7 + 4);
  const Bytes ihdr = Ihdr(2, 3, 8, 0);
  const Bytes whole = Png({{"IHDR", ihdr}, {"IDAT", stream}, {"IEND", {}}});
  struct Case {
    const char *what;
    Bytes file;
    uint32_t rows; // rows shown from the top; the rest are zero
  };
  const std::vector<Case> cases = {
      {"the stream cut, then IEND", Png({{"IHDR", ihdr}, {"IDAT", cut}, {"IEND", {}}}), 1},
      {"the stream cut, no IEND", Png({{"IHDR", ihdr}, {"IDAT", cut}}), 1},
      {"the file cut inside IDAT", Cut(whole, 33 + 8 + 11), 1},
      {"the file cut after IDAT's data", Cut(whole, 33 + 8 + stream.size()), 3},
      {"cut IDAT, another chunk, more IDAT",
       Png({{"IHDR", ihdr}, {"IDAT", cut}, {"tEXt", Bytes(3, 'a')}, {"IDAT", stream}, {"IEND", {}}}), 1},
      {"the whole picture", whole, 3},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    const Decoded d = Decode(ReadPngFile, c.file);
    ASSERT_EQ(kFilterSuccess, d.result);
    for (uint32_t y = 0; y < 3; ++y) {
      const uint8_t first = y < c.rows ? static_cast<uint8_t>(10 * y + 11) : 0;
      EXPECT_EQ(Bytes({first, static_cast<uint8_t>(first == 0 ? 0 : first + 1)}), Bytes(Row(d, y), Row(d, y) + 2))
          << "row " << y;
    }
  }
}

TEST(PngReaderTest, PixelFormats) {
  // Grey at depth 2: values 1 and 3 index a four-level ramp in a 4-bit DIB.
  const Decoded grey =
      Decode(ReadPngFile, Png({{"IHDR", Ihdr(2, 1, 2, 0)}, {"IDAT", ZlibStored({0, 0x70})}, {"IEND", {}}}));
  ASSERT_EQ(kFilterSuccess, grey.result);
  EXPECT_EQ(4, Header(grey).biBitCount);
  EXPECT_EQ(0x13, Row(grey, 0)[0]);
  EXPECT_EQ(85, Colours(grey)[1].red);
  EXPECT_EQ(255, Colours(grey)[3].green);
  EXPECT_EQ(0, Colours(grey)[4].red);

  // 16-bit RGB keeps the high bytes, as blue, green, red.
  const Decoded rgb16 = Decode(
      ReadPngFile, Png({{"IHDR", Ihdr(1, 1, 16, 2)}, {"IDAT", ZlibStored({0, 1, 2, 3, 4, 5, 6})}, {"IEND", {}}}));
  ASSERT_EQ(kFilterSuccess, rgb16.result);
  EXPECT_EQ(Bytes({5, 3, 1}), Bytes(Row(rgb16, 0), Row(rgb16, 0) + 3));

  // A palette longer than depth 1 allows fills two entries only; tRNS names index 1.
  Bytes plte;
  for (int i = 0; i < 6; ++i)
    plte.insert(plte.end(), {static_cast<uint8_t>(i), 0, 0});
  const Decoded pal = Decode(ReadPngFile, Png({{"IHDR", Ihdr(8, 1, 1, 3)},
                                               {"PLTE", plte},
                                               {"tRNS", {255, 0}},
                                               {"IDAT", ZlibStored({0, 0x0F})},
                                               {"IEND", {}}}));
  ASSERT_EQ(kFilterSuccess, pal.result);
  EXPECT_EQ(1, pal.value);
  EXPECT_EQ(2U, Header(pal).biClrUsed);
  EXPECT_EQ(0x0F, Row(pal, 0)[0]);

  // An interlaced 1 x 1 picture has its one row in pass 1.
  const Decoded one =
      Decode(ReadPngFile, Png({{"IHDR", Ihdr(1, 1, 8, 0, 1)}, {"IDAT", ZlibStored({0, 77})}, {"IEND", {}}}));
  ASSERT_EQ(kFilterSuccess, one.result);
  EXPECT_EQ(77, Row(one, 0)[0]);
}

// ---- Inflate

class BytesSource : public InflateSource {
public:
  explicit BytesSource(Bytes data) : m_data(std::move(data)) {}
  uint32_t Fill(uint8_t *buffer, uint32_t capacity) override {
    uint32_t n = 0;
    while (n < capacity && m_at < m_data.size())
      buffer[n++] = m_data[m_at++];
    return n;
  }

private:
  Bytes m_data;
  size_t m_at = 0;
};

class BytesSink : public InflateSink {
public:
  bool Write(const uint8_t *data, uint32_t size) override {
    out.insert(out.end(), data, data + size);
    return true;
  }
  Bytes out;
};

InflateStatus Inflate(const Bytes &raw, Bytes *out = nullptr) {
  MemoryFilterIo io;
  BytesSource source(raw);
  BytesSink sink;
  Inflater inflater;
  const InflateStatus status = inflater.Run(source, sink, false);
  if (out != nullptr)
    *out = sink.out;
  return status;
}

TEST(InflaterTest, RefusesMalformedStreams) {
  struct Case {
    const char *what;
    Bytes raw; // deflate data, bits from the lowest
    InflateStatus expected;
  };
  const std::vector<Case> cases = {
      {"stored LEN and NLEN disagree", {0x01, 0x02, 0x00, 0xFF, 0xFF, 'a', 'b'}, InflateStatus::Malformed},
      {"block type 3", {0x07}, InflateStatus::Malformed},
      // Fixed block starting with a match of length 3 at distance 1: before the start.
      {"distance before the start", {0x03, 0x02, 0x00}, InflateStatus::Malformed},
      // Fixed code 286 (11000110) then nothing.
      {"literal/length code 286", {0x1B, 0x03}, InflateStatus::Malformed},
      // Dynamic header: HLIT 30 (287 codes).
      {"HLIT above 286", {0xF5, 0x00, 0x00}, InflateStatus::Malformed},
      // Dynamic header: HLIT 0, HDIST 30 (31 codes).
      {"HDIST above 30", {0x05, 0x1E, 0x00}, InflateStatus::Malformed},
      {"data ends in a stored block", {0x01, 0x05, 0x00, 0xFA, 0xFF, 'a'}, InflateStatus::Truncated},
      {"nothing", {}, InflateStatus::Truncated},
  };
  for (const Case &c : cases)
    EXPECT_EQ(c.expected, Inflate(c.raw)) << c.what;
}

TEST(InflaterTest, DecodesStoredAndFixedBlocksAndChecksTheAdler) {
  Bytes out;
  // zlib's fixed-Huffman "aaaaaaaaaa": literal a, then a match of 9 at distance 1.
  EXPECT_EQ(InflateStatus::Done, Inflate({0x4B, 0x4C, 0x84, 0x01, 0x00}, &out));
  EXPECT_EQ(Bytes(10, 'a'), out);
  const Bytes data = {'h', 'i'};
  Bytes zlib = ZlibStored(data);
  MemoryFilterIo io;
  {
    BytesSource source(zlib);
    BytesSink sink;
    EXPECT_EQ(InflateStatus::Done, Inflater().Run(source, sink));
    EXPECT_EQ(data, sink.out);
  }
  zlib.back() ^= 1;
  BytesSource source(zlib);
  BytesSink sink;
  EXPECT_EQ(InflateStatus::Malformed, Inflater().Run(source, sink));
}

// A header alone may claim a picture of gigabytes; a file too short for
// the pixels it claims, even at their most compact (run-length packets,
// deflate's best ratio), ends in a read error before the picture is
// allocated: with allocations held to 1 MiB, no reader runs out of memory.
TEST(FilterReadersTest, AFileTooShortForItsPictureIsRefusedBeforeItIsAllocated) {
  const auto padded = [](Bytes file, size_t extra) {
    file.resize(file.size() + extra, 0);
    return file;
  };
  struct Case {
    const char *what;
    FilterReader reader;
    Bytes file;
  };
  // 32767 x 32767 RGB: 3 GB of pixels; run-length, at least 8 MB of packets.
  const std::vector<Case> cases = {
      {"TGA, plain", ReadTgaFile, padded(Tga(2, 32767, 32767, 24), 1000)},
      {"TGA, run-length", ReadTgaFile, padded(Tga(10, 32767, 32767, 24), 100000)},
      {"PCX of 8 bits", ReadPcxFile, padded(Pcx(8, 1, 32767, 32767, 32768), 1000)},
      {"PCX of 24 bits", ReadPcxFile, padded(Pcx(8, 3, 32767, 32767, 32768), 1000)},
      {"PNG", ReadPngFile, Png({{"IHDR", Ihdr(32768, 32768, 8, 2)}, {"IDAT", ZlibStored({0, 1, 2, 3})}})},
  };
  for (const Case &c : cases) {
    MemoryFilterIo io;
    io.SetAllocationLimit(1 << 20);
    io.AddFile("f", c.file);
    FilterContext context{};
    InitFilterContext(context, nullptr, 0, "f");
    EXPECT_EQ(kFilterReadError, c.reader(&context)) << c.what;
    EXPECT_EQ(0U, io.LiveBlocks()) << c.what;
  }
  // A file that holds its picture still reads with the same limit: 64 x 64
  // plain TGA pixels.
  MemoryFilterIo io;
  io.SetAllocationLimit(1 << 20);
  io.AddFile("f", padded(Tga(2, 64, 64, 24), 64 * 64 * 3));
  FilterContext context{};
  InitFilterContext(context, nullptr, 0, "f");
  EXPECT_EQ(kFilterSuccess, ReadTgaFile(&context));
  const auto *records = static_cast<const FilterImageRecord *>(io.Lock(context.records));
  io.Free(records[0].picture);
  FreeFilterRecords(context);
}

} // namespace
