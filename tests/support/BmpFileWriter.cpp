#include "support/BmpFileWriter.h"

#include <cstddef>

#include "support/FakeRecordFile.h"

namespace BmpFileWriter {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kMaxRun = 255;
constexpr uint32_t kMinLiteral = 3;

} // namespace

uint32_t Stride(int32_t width, uint32_t bitCount) { return (static_cast<uint32_t>(width) * bitCount + 31) / 32 * 4; }

std::vector<uint8_t> Write(const Picture &picture) {
  RecordBytes info;
  if (picture.coreHeader) {
    info.Uint32(kCoreHeaderSize).Uint16(static_cast<uint16_t>(picture.width));
    info.Uint16(static_cast<uint16_t>(picture.height)).Uint16(1).Uint16(picture.bitCount);
    for (const RgbQuad &c : picture.colors)
      info.Byte(c.blue).Byte(c.green).Byte(c.red);
  } else {
    info.Uint32(kInfoHeaderSize).Uint32(static_cast<uint32_t>(picture.width));
    info.Uint32(static_cast<uint32_t>(picture.height)).Uint16(1).Uint16(picture.bitCount);
    info.Uint32(picture.compression).Uint32(picture.sizeImage).Uint32(2835).Uint32(2835);
    info.Uint32(picture.colorsUsed).Uint32(0);
    for (uint32_t mask : picture.masks)
      info.Uint32(mask);
    for (const RgbQuad &c : picture.colors)
      info.Byte(c.blue).Byte(c.green).Byte(c.red).Byte(c.reserved);
  }
  const std::vector<uint8_t> infoBytes = info.Take();
  const uint32_t offBits = picture.offBits >= 0 ? static_cast<uint32_t>(picture.offBits)
                                                : kFileHeaderSize + static_cast<uint32_t>(infoBytes.size());
  RecordBytes file;
  const auto fileSize = static_cast<uint32_t>(kFileHeaderSize + infoBytes.size() + picture.pixels.size());
  file.Byte('B').Byte('M').Uint32(fileSize).Uint16(0).Uint16(0).Uint32(offBits);
  std::vector<uint8_t> bytes = file.Take();
  bytes.insert(bytes.end(), infoBytes.begin(), infoBytes.end());
  bytes.insert(bytes.end(), picture.pixels.begin(), picture.pixels.end());
  return bytes;
}

std::vector<uint8_t> EncodeRle8(const std::vector<uint8_t> &pixels, int32_t width, int32_t height) {
  std::vector<uint8_t> out;
  const auto w = static_cast<uint32_t>(width);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t *row = pixels.data() + static_cast<size_t>(y) * w;
    uint32_t x = 0;
    while (x < w) {
      uint32_t run = 1;
      while (x + run < w && run < kMaxRun && row[x + run] == row[x])
        ++run;
      if (run >= 2 || w - x < kMinLiteral) {
        out.push_back(static_cast<uint8_t>(run));
        out.push_back(row[x]);
        x += run;
        continue;
      }
      // A literal stretch up to the next run of two.
      uint32_t length = 1;
      while (x + length < w && length < kMaxRun && !(x + length + 1 < w && row[x + length] == row[x + length + 1]))
        ++length;
      if (length < kMinLiteral) {
        out.push_back(1);
        out.push_back(row[x]);
        x += 1;
        continue;
      }
      out.push_back(0);
      out.push_back(static_cast<uint8_t>(length));
      out.insert(out.end(), row + x, row + x + length);
      if (length % 2 != 0)
        out.push_back(0);
      x += length;
    }
    out.push_back(0);
    out.push_back(0);
  }
  out.push_back(0);
  out.push_back(1);
  return out;
}

std::vector<RgbQuad> GreyRamp(uint32_t n) {
  std::vector<RgbQuad> ramp;
  for (uint32_t i = 0; i < n; ++i) {
    const auto v = static_cast<uint8_t>(n > 1 ? i * 255 / (n - 1) : 0);
    ramp.push_back({v, v, v, 0});
  }
  return ramp;
}

} // namespace BmpFileWriter
