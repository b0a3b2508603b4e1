#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/DibTypes.h"

// Reads a whole BMP file held in memory into the packed DIB the image classes
// take: a 40-byte header, a colour table of 2 to the depth entries for depths
// up to 8 (the file's entries first, the rest zero), none above, and the rows
// bottom-up, padded to 4 bytes, uncompressed.
//
// The file may have a 40-byte info header or a 12-byte core header; rows
// bottom-up or top-down (negative height); depths 1, 4, 8, 16, 24 and 32;
// BI_RGB, BI_RLE8 (8 bits), BI_RLE4 (4 bits) or BI_BITFIELDS (16 and 32
// bits). Bit-field pictures come out as plain ones: 16-bit pictures stay
// 16-bit when their masks are the plain 5-5-5 ones and become 24-bit
// otherwise; 32-bit pictures stay 32-bit, their channels moved to the plain
// blue, green, red order. Everything else is refused, before anything is
// allocated, with the one error code this reader has.
class BmpReader {
public:
  // Not a BMP file, a header or encoding it does not read, or a short file.
  static constexpr int32_t kNotBmp = 300;
  // The largest picture accepted, in bytes of decoded rows (the player's one
  // limit): a run-length file of a few bytes may otherwise ask for gigabytes.
  static constexpr uint64_t kMaxPixelBytes = kMaxPictureBytes;

  // Checks the headers, colour table and pixel data of the file; false when
  // the file is refused. The bytes must stay until Decode.
  bool Parse(const uint8_t *file, size_t size);
  // The size of the packed DIB that Decode writes.
  size_t GetPackedSize() const;
  // Writes the packed DIB into out, GetPackedSize() bytes. Only after a
  // successful Parse.
  void Decode(uint8_t *out) const;

  // Parse and Decode into a new vector; false when refused.
  static bool ReadBmp(const uint8_t *file, size_t size, std::vector<uint8_t> &packedDib);

private:
  enum class Encoding { kRaw, kRle8, kRle4, kBitFields };
  struct Channel {
    uint32_t mask = 0;
    uint32_t shift = 0;
    uint32_t bits = 0;
  };

  bool ParseInfoHeader(const uint8_t *header, size_t available);
  bool ParseCoreHeader(const uint8_t *header, size_t available);
  bool ParseColorTable(size_t tableOffset, uint32_t entrySize);
  bool ParseMasks(size_t masksOffset);
  bool ParsePixelData(uint32_t sizeImage);
  void DecodeBitFields(uint8_t *pixels) const;
  const uint8_t *FileRow(int64_t bottomUpRow) const;

  const uint8_t *m_file = nullptr;
  size_t m_size = 0;
  BitmapInfoHeader m_out{};
  Encoding m_encoding = Encoding::kRaw;
  uint16_t m_fileBits = 0;
  bool m_topDown = false;
  uint32_t m_tableEntries = 0;            // 2 to the depth up to 8 bits, else 0
  std::vector<RgbQuad> m_fileColors;      // the entries the file holds
  Channel m_channels[kBitFieldMaskCount]; // red, green, blue
  uint64_t m_fileStride = 0;
  uint64_t m_outStride = 0;
  const uint8_t *m_pixelData = nullptr;
  size_t m_pixelDataSize = 0;
};
