#include "support/PictureFileWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "support/BmpFileWriter.h"

namespace PictureFileWriter {

namespace {

using Bytes = std::vector<uint8_t>;

uint8_t Red(uint32_t colour) { return static_cast<uint8_t>(colour); }
uint8_t Green(uint32_t colour) { return static_cast<uint8_t>(colour >> 8); }
uint8_t Blue(uint32_t colour) { return static_cast<uint8_t>(colour >> 16); }

// The colour of row y counted from the top.
uint32_t RowColour(const TwoColours &picture, int32_t y) {
  return y < picture.height / 2 ? picture.top : picture.bottom;
}

void Little16(Bytes &b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Big16(Bytes &b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v >> 8));
  b.push_back(static_cast<uint8_t>(v));
}
void Big32(Bytes &b, uint32_t v) {
  Big16(b, v >> 16);
  Big16(b, v & 0xFFFF);
}

// ---- PNG

uint32_t Crc32(const uint8_t *data, size_t size) {
  uint32_t crc = 0xFFFFFFFF;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k)
      crc = (crc >> 1) ^ (0xEDB88320U & (0U - (crc & 1)));
  }
  return ~crc;
}

uint32_t Adler32(const Bytes &data) {
  uint32_t a = 1, b = 0;
  for (uint8_t v : data) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

// A zlib stream of stored blocks.
Bytes ZlibStored(const Bytes &data) {
  Bytes z = {0x78, 0x01};
  constexpr size_t kBlock = 65535;
  size_t at = 0;
  do {
    const size_t size = std::min(kBlock, data.size() - at);
    z.push_back(at + size == data.size() ? 1 : 0);
    Little16(z, static_cast<uint32_t>(size));
    Little16(z, static_cast<uint32_t>(~size & 0xFFFF));
    z.insert(z.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
             data.begin() + static_cast<std::ptrdiff_t>(at + size));
    at += size;
  } while (at < data.size());
  Big32(z, Adler32(data));
  return z;
}

void PngChunk(Bytes &png, const char *type, const Bytes &data) {
  Big32(png, static_cast<uint32_t>(data.size()));
  const size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  Big32(png, Crc32(png.data() + start, png.size() - start));
}

// ---- JPEG: blocks of one colour each, so only DC values are coded

// Every DC category (0 to 11) gets a 4-bit code equal to its number; the AC
// table holds the end-of-block code alone, one bit "0".
constexpr int kDcCodeBits = 4;

class BitWriter {
public:
  explicit BitWriter(Bytes &out) : m_out(out) {}
  void Put(uint32_t bits, int count) {
    for (int i = count - 1; i >= 0; --i) {
      m_byte = static_cast<uint8_t>(m_byte << 1 | (bits >> i & 1));
      if (++m_count == 8)
        Flush();
    }
  }
  // Pads the last byte with ones.
  void Finish() {
    while (m_count != 0)
      Put(1, 1);
  }

private:
  void Flush() {
    m_out.push_back(m_byte);
    if (m_byte == 0xFF)
      m_out.push_back(0); // stuffed
    m_byte = 0;
    m_count = 0;
  }
  Bytes &m_out;
  uint8_t m_byte = 0;
  int m_count = 0;
};

void PutDc(BitWriter &bits, int32_t difference) {
  int category = 0;
  for (int32_t magnitude = std::abs(difference); magnitude != 0; magnitude >>= 1)
    ++category;
  bits.Put(static_cast<uint32_t>(category), kDcCodeBits);
  if (category > 0) {
    const int32_t extra = difference < 0 ? difference - 1 : difference;
    bits.Put(static_cast<uint32_t>(extra) & ((1U << category) - 1), category);
  }
  bits.Put(0, 1); // end of block
}

void Segment(Bytes &jpeg, uint8_t marker, const Bytes &data) {
  jpeg.push_back(0xFF);
  jpeg.push_back(marker);
  Big16(jpeg, static_cast<uint32_t>(data.size() + 2));
  jpeg.insert(jpeg.end(), data.begin(), data.end());
}

// The YCbCr values of a colour.
void ToYCbCr(uint32_t colour, double out[3]) {
  const double r = Red(colour), g = Green(colour), b = Blue(colour);
  out[0] = 0.299 * r + 0.587 * g + 0.114 * b;
  out[1] = -0.168736 * r - 0.331264 * g + 0.5 * b + 128;
  out[2] = 0.5 * r - 0.418688 * g - 0.081312 * b + 128;
}

// ---- CGM

class CgmElements {
public:
  CgmElements &Add(int elementClass, int id, const Bytes &params) {
    Big16(bytes, static_cast<uint32_t>(elementClass << 12 | id << 5 | static_cast<int>(params.size())));
    bytes.insert(bytes.end(), params.begin(), params.end());
    if (params.size() & 1)
      bytes.push_back(0);
    return *this;
  }
  Bytes bytes;
};

Bytes Words(std::initializer_list<int32_t> values) {
  Bytes b;
  for (int32_t v : values)
    Big16(b, static_cast<uint32_t>(v) & 0xFFFF);
  return b;
}
Bytes Rgb(uint32_t colour) { return {Red(colour), Green(colour), Blue(colour)}; }
Bytes Text(const char *text) {
  Bytes b{static_cast<uint8_t>(std::char_traits<char>::length(text))};
  b.insert(b.end(), text, text + b[0]);
  return b;
}

} // namespace

Bytes Pcx(const TwoColours &picture) {
  Bytes b(128, 0);
  b[0] = 10; // manufacturer
  b[1] = 5;  // version with an end palette
  b[2] = 1;  // run-length encoded
  b[3] = 8;
  auto put16 = [&b](size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
  };
  put16(8, static_cast<uint32_t>(picture.width - 1));
  put16(10, static_cast<uint32_t>(picture.height - 1));
  b[65] = 1;
  put16(66, static_cast<uint32_t>(picture.width));
  put16(68, 1);
  constexpr int32_t kLongestRun = 63;
  for (int32_t y = 0; y < picture.height; ++y) {
    const uint8_t index = y < picture.height / 2 ? 0 : 1;
    for (int32_t left = picture.width; left > 0; left -= kLongestRun) {
      b.push_back(static_cast<uint8_t>(0xC0 | std::min(left, kLongestRun)));
      b.push_back(index);
    }
  }
  b.push_back(12);
  Bytes palette(768, 0);
  const uint32_t colours[] = {picture.top, picture.bottom};
  for (int i = 0; i < 2; ++i) {
    palette[i * 3] = Red(colours[i]);
    palette[i * 3 + 1] = Green(colours[i]);
    palette[i * 3 + 2] = Blue(colours[i]);
  }
  b.insert(b.end(), palette.begin(), palette.end());
  return b;
}

Bytes Tga(const TwoColours &picture) {
  Bytes b(18, 0);
  b[2] = 2; // true colour, uncompressed
  b[12] = static_cast<uint8_t>(picture.width);
  b[13] = static_cast<uint8_t>(picture.width >> 8);
  b[14] = static_cast<uint8_t>(picture.height);
  b[15] = static_cast<uint8_t>(picture.height >> 8);
  b[16] = 24;
  for (int32_t y = picture.height - 1; y >= 0; --y) { // bottom row first
    const uint32_t colour = RowColour(picture, y);
    for (int32_t x = 0; x < picture.width; ++x)
      b.insert(b.end(), {Blue(colour), Green(colour), Red(colour)});
  }
  return b;
}

Bytes Png(const TwoColours &picture) {
  Bytes png = {137, 80, 78, 71, 13, 10, 26, 10};
  Bytes header;
  Big32(header, static_cast<uint32_t>(picture.width));
  Big32(header, static_cast<uint32_t>(picture.height));
  header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
  PngChunk(png, "IHDR", header);
  Bytes rows;
  for (int32_t y = 0; y < picture.height; ++y) {
    const uint32_t colour = RowColour(picture, y);
    rows.push_back(0); // no filter
    for (int32_t x = 0; x < picture.width; ++x)
      rows.insert(rows.end(), {Red(colour), Green(colour), Blue(colour)});
  }
  PngChunk(png, "IDAT", ZlibStored(rows));
  PngChunk(png, "IEND", {});
  return png;
}

Bytes Jpeg(const TwoColours &picture) {
  constexpr int kBlock = 8, kComponents = 3;
  Bytes jpeg = {0xFF, 0xD8};
  Segment(jpeg, 0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
  Bytes quant(65, 1); // table 0, every step 1
  quant[0] = 0;
  Segment(jpeg, 0xDB, quant);
  Bytes frame = {8};
  Big16(frame, static_cast<uint32_t>(picture.height));
  Big16(frame, static_cast<uint32_t>(picture.width));
  frame.push_back(kComponents);
  for (uint8_t c = 1; c <= kComponents; ++c)
    frame.insert(frame.end(), {c, 0x11, 0});
  Segment(jpeg, 0xC0, frame);
  Bytes dc = {0x00};
  Bytes counts(16, 0);
  counts[kDcCodeBits - 1] = 12;
  dc.insert(dc.end(), counts.begin(), counts.end());
  for (uint8_t category = 0; category < 12; ++category)
    dc.push_back(category);
  Segment(jpeg, 0xC4, dc);
  Bytes ac = {0x10, 1};
  ac.insert(ac.end(), 15, 0);
  ac.push_back(0x00); // end of block
  Segment(jpeg, 0xC4, ac);
  Segment(jpeg, 0xDA, {kComponents, 1, 0x00, 2, 0x00, 3, 0x00, 0, 63, 0});

  BitWriter bits(jpeg);
  int32_t previous[kComponents] = {};
  for (int32_t by = 0; by < picture.height / kBlock; ++by) {
    double values[kComponents];
    ToYCbCr(RowColour(picture, by * kBlock), values);
    for (int32_t bx = 0; bx < picture.width / kBlock; ++bx) {
      for (int c = 0; c < kComponents; ++c) {
        // The DC coefficient of a flat block is 8 times its level shifted by 128.
        const auto coefficient = static_cast<int32_t>(std::lround((values[c] - 128) * 8));
        PutDc(bits, coefficient - previous[c]);
        previous[c] = coefficient;
      }
    }
  }
  bits.Finish();
  jpeg.insert(jpeg.end(), {0xFF, 0xD9});
  return jpeg;
}

Bytes Cgm(const TwoColours &picture) {
  const int32_t w = picture.width, h = picture.height;
  CgmElements cgm;
  cgm.Add(0, 1, Text("two colours"))       // BEGIN METAFILE
      .Add(0, 3, Text("p"))                // BEGIN PICTURE
      .Add(2, 2, Words({1}))               // COLOUR SELECTION MODE: direct
      .Add(2, 6, Words({0, 0, w, h}))      // VDC EXTENT, y upwards
      .Add(0, 4, {})                       // BEGIN PICTURE BODY
      .Add(5, 22, Words({1}))              // INTERIOR STYLE: solid
      .Add(5, 23, Rgb(picture.top))        // FILL COLOUR
      .Add(4, 11, Words({0, h / 2, w, h})) // RECTANGLE: the upper half
      .Add(5, 23, Rgb(picture.bottom))
      .Add(4, 11, Words({0, 0, w, h / 2})) // the lower half
      .Add(0, 5, {})                       // END PICTURE
      .Add(0, 2, {});                      // END METAFILE
  return cgm.bytes;
}

Bytes Bmp(const TwoColours &picture) {
  BmpFileWriter::Picture bmp;
  bmp.width = picture.width;
  bmp.height = picture.height;
  bmp.bitCount = 24;
  const uint32_t stride = BmpFileWriter::Stride(picture.width, 24);
  for (int32_t y = picture.height - 1; y >= 0; --y) { // bottom row first
    const uint32_t colour = RowColour(picture, y);
    Bytes row;
    for (int32_t x = 0; x < picture.width; ++x)
      row.insert(row.end(), {Blue(colour), Green(colour), Red(colour)});
    row.resize(stride, 0);
    bmp.pixels.insert(bmp.pixels.end(), row.begin(), row.end());
  }
  return BmpFileWriter::Write(bmp);
}

Bytes Write(const std::string &extension, const TwoColours &picture) {
  if (extension == "pcx")
    return Pcx(picture);
  if (extension == "tga")
    return Tga(picture);
  if (extension == "png")
    return Png(picture);
  if (extension == "jpg")
    return Jpeg(picture);
  if (extension == "cgm")
    return Cgm(picture);
  if (extension == "bmp")
    return Bmp(picture);
  throw std::invalid_argument("no writer for ." + extension);
}

} // namespace PictureFileWriter
