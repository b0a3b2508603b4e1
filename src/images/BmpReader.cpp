#include "images/BmpReader.h"

#include <algorithm>
#include <cstring>

#include "images/BmpRle.h"
#include "vorfile/LittleEndian.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint16_t kBmpSignature = 0x4D42; // "BM"
constexpr size_t kOffBitsOffset = 10;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kQuadSize = 4;
constexpr uint32_t kTripleSize = 3;
constexpr uint32_t kCompressionRle8 = 1;
constexpr uint32_t kCompressionRle4 = 2;
constexpr uint32_t kMaxIndexedBits = 8;

// The masks of the pictures whose bit fields are the plain layout of their depth.
constexpr uint32_t kPlain16Masks[kBitFieldMaskCount] = {0x7C00, 0x03E0, 0x001F};
constexpr uint32_t kPlain32Masks[kBitFieldMaskCount] = {0x00FF0000, 0x0000FF00, 0x000000FF};

bool IsFileDepth(uint16_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

uint64_t StrideOf(uint64_t width, uint32_t bits) { return (width * bits + 31) / 32 * 4; }

// Scales a channel of some bits to 8 by repeating its bits, so that its
// largest value becomes 255.
uint8_t ScaleTo8Bits(uint32_t value, uint32_t bits) {
  if (bits == 0)
    return 0;
  if (bits >= 8)
    return static_cast<uint8_t>(value >> (bits - 8));
  uint32_t scaled = 0;
  for (int32_t filled = 0; filled < 8; filled += static_cast<int32_t>(bits))
    scaled = scaled << bits | value;
  const uint32_t filledBits = (8 + bits - 1) / bits * bits;
  return static_cast<uint8_t>(scaled >> (filledBits - 8));
}

} // namespace

bool BmpReader::ReadBmp(const uint8_t *file, size_t size, std::vector<uint8_t> &packedDib) {
  BmpReader reader;
  if (!reader.Parse(file, size))
    return false;
  packedDib.assign(reader.GetPackedSize(), 0);
  reader.Decode(packedDib.data());
  return true;
}

bool BmpReader::Parse(const uint8_t *file, size_t size) {
  *this = BmpReader();
  m_file = file;
  m_size = size;
  if (size < kFileHeaderSize + sizeof(uint32_t) || LittleEndianUint16(file) != kBmpSignature)
    return false;
  const uint32_t headerSize = LittleEndianUint32(file + kFileHeaderSize);
  const uint8_t *header = file + kFileHeaderSize;
  const size_t available = size - kFileHeaderSize;
  if (headerSize == kInfoHeaderSize)
    return ParseInfoHeader(header, available);
  if (headerSize == kCoreHeaderSize)
    return ParseCoreHeader(header, available);
  return false;
}

bool BmpReader::ParseInfoHeader(const uint8_t *header, size_t available) {
  if (available < kInfoHeaderSize)
    return false;
  const int32_t width = static_cast<int32_t>(LittleEndianUint32(header + 4));
  const int32_t height = static_cast<int32_t>(LittleEndianUint32(header + 8));
  m_fileBits = LittleEndianUint16(header + 14);
  const uint32_t compression = LittleEndianUint32(header + 16);
  const uint32_t sizeImage = LittleEndianUint32(header + 20);
  const uint32_t colorsUsed = LittleEndianUint32(header + 32);
  const uint32_t colorsImportant = LittleEndianUint32(header + 36);

  // Run-length pictures are bottom-up only; each encoding has its one depth.
  switch (compression) {
  case kCompressionRgb:
    m_encoding = Encoding::kRaw;
    break;
  case kCompressionRle8:
    m_encoding = Encoding::kRle8;
    if (m_fileBits != 8 || height < 0)
      return false;
    break;
  case kCompressionRle4:
    m_encoding = Encoding::kRle4;
    if (m_fileBits != 4 || height < 0)
      return false;
    break;
  case kCompressionBitFields:
    m_encoding = Encoding::kBitFields;
    if (m_fileBits != 16 && m_fileBits != 32)
      return false;
    break;
  default:
    return false;
  }
  if (width <= 0 || height == 0 || height == INT32_MIN || !IsFileDepth(m_fileBits))
    return false;

  m_out.biWidth = width;
  m_out.biHeight = height < 0 ? -height : height;
  m_topDown = height < 0;
  m_out.biXPelsPerMeter = static_cast<int32_t>(LittleEndianUint32(header + 24));
  m_out.biYPelsPerMeter = static_cast<int32_t>(LittleEndianUint32(header + 28));
  m_tableEntries = m_fileBits <= kMaxIndexedBits ? 1u << m_fileBits : 0;
  // A count above what the depth can index would overrun the table.
  const uint32_t fileColors = colorsUsed != 0 ? std::min(colorsUsed, m_tableEntries) : m_tableEntries;
  m_out.biClrImportant = colorsImportant <= m_tableEntries ? colorsImportant : 0;
  m_fileColors.resize(fileColors);
  const size_t tableOffset = kFileHeaderSize + kInfoHeaderSize;
  if (m_encoding == Encoding::kBitFields)
    return ParseMasks(tableOffset) && ParsePixelData(sizeImage);
  return ParseColorTable(tableOffset, kQuadSize) && ParsePixelData(sizeImage);
}

bool BmpReader::ParseCoreHeader(const uint8_t *header, size_t available) {
  if (available < kCoreHeaderSize)
    return false;
  const uint16_t width = LittleEndianUint16(header + 4);
  const uint16_t height = LittleEndianUint16(header + 6);
  m_fileBits = LittleEndianUint16(header + 10);
  if (width == 0 || height == 0 || !IsFileDepth(m_fileBits))
    return false;
  m_encoding = Encoding::kRaw;
  m_out.biWidth = width;
  m_out.biHeight = height;
  m_tableEntries = m_fileBits <= kMaxIndexedBits ? 1u << m_fileBits : 0;
  m_fileColors.resize(m_tableEntries);
  return ParseColorTable(kFileHeaderSize + kCoreHeaderSize, kTripleSize) && ParsePixelData(0);
}

bool BmpReader::ParseColorTable(size_t tableOffset, uint32_t entrySize) {
  const uint64_t tableBytes = static_cast<uint64_t>(m_fileColors.size()) * entrySize;
  if (tableOffset + tableBytes > m_size)
    return false;
  const uint8_t *entry = m_file + tableOffset;
  for (RgbQuad &color : m_fileColors) {
    color = {entry[0], entry[1], entry[2], 0};
    entry += entrySize;
  }
  return true;
}

bool BmpReader::ParseMasks(size_t masksOffset) {
  if (masksOffset + kBitFieldMaskCount * sizeof(uint32_t) > m_size)
    return false;
  bool plain = true;
  const uint32_t *plainMasks = m_fileBits == 16 ? kPlain16Masks : kPlain32Masks;
  const uint64_t pixelRange = uint64_t{1} << m_fileBits;
  for (uint32_t i = 0; i < kBitFieldMaskCount; ++i) {
    Channel &channel = m_channels[i];
    channel.mask = LittleEndianUint32(m_file + masksOffset + i * sizeof(uint32_t));
    if (channel.mask >= pixelRange)
      return false;
    if (channel.mask != 0) {
      while ((channel.mask >> channel.shift & 1) == 0)
        ++channel.shift;
      while (channel.shift + channel.bits < 32 && (channel.mask >> (channel.shift + channel.bits) & 1) != 0)
        ++channel.bits;
      // One unbroken run of bits a channel.
      if ((channel.mask >> channel.shift) != (uint64_t{1} << channel.bits) - 1)
        return false;
    }
    plain = plain && channel.mask == plainMasks[i];
  }
  // Plain masks need no conversion: the rows are those of a BI_RGB picture.
  if (plain)
    m_encoding = Encoding::kRaw;
  return true;
}

bool BmpReader::ParsePixelData(uint32_t sizeImage) {
  const uint32_t outBits = m_encoding == Encoding::kBitFields && m_fileBits == 16 ? 24 : m_fileBits;
  const uint64_t width = static_cast<uint64_t>(m_out.biWidth);
  const uint64_t height = static_cast<uint64_t>(m_out.biHeight);
  m_fileStride = StrideOf(width, m_fileBits);
  m_outStride = StrideOf(width, outBits);
  const uint64_t outImage = m_outStride * height;
  if (outImage > kMaxPixelBytes)
    return false;

  const size_t offBits = LittleEndianUint32(m_file + kOffBitsOffset);
  if (offBits > m_size)
    return false;
  m_pixelData = m_file + offBits;
  const size_t remaining = m_size - offBits;
  if (m_encoding == Encoding::kRle8 || m_encoding == Encoding::kRle4) {
    // The image size is the length of the compressed data; 0 leaves it to
    // the end of the file.
    if (sizeImage > remaining)
      return false;
    m_pixelDataSize = sizeImage != 0 ? sizeImage : remaining;
  } else {
    // The rows are read whole whatever the image-size field says.
    if (m_fileStride * height > remaining)
      return false;
    m_pixelDataSize = static_cast<size_t>(m_fileStride * height);
  }

  m_out.biSize = kInfoHeaderSize;
  m_out.biPlanes = 1;
  m_out.biBitCount = static_cast<uint16_t>(outBits);
  m_out.biCompression = kCompressionRgb;
  m_out.biSizeImage = static_cast<uint32_t>(outImage);
  m_out.biClrUsed = 0;
  return true;
}

size_t BmpReader::GetPackedSize() const {
  return kInfoHeaderSize + static_cast<size_t>(m_tableEntries) * kQuadSize + m_out.biSizeImage;
}

const uint8_t *BmpReader::FileRow(int64_t bottomUpRow) const {
  const int64_t fileRow = m_topDown ? m_out.biHeight - 1 - bottomUpRow : bottomUpRow;
  return m_pixelData + static_cast<size_t>(fileRow) * m_fileStride;
}

void BmpReader::Decode(uint8_t *out) const {
  std::memcpy(out, &m_out, kInfoHeaderSize);
  auto *table = out + kInfoHeaderSize;
  std::memset(table, 0, static_cast<size_t>(m_tableEntries) * kQuadSize);
  if (!m_fileColors.empty())
    std::memcpy(table, m_fileColors.data(), m_fileColors.size() * kQuadSize);
  uint8_t *pixels = table + static_cast<size_t>(m_tableEntries) * kQuadSize;
  switch (m_encoding) {
  case Encoding::kRaw:
    if (!m_topDown) {
      std::memcpy(pixels, m_pixelData, m_pixelDataSize);
      break;
    }
    for (int64_t y = 0; y < m_out.biHeight; ++y)
      std::memcpy(pixels + static_cast<size_t>(y) * m_outStride, FileRow(y), static_cast<size_t>(m_fileStride));
    break;
  case Encoding::kRle8:
  case Encoding::kRle4:
    std::memset(pixels, 0, m_out.biSizeImage);
    (m_encoding == Encoding::kRle8 ? DecodeBmpRle8 : DecodeBmpRle4)(
        m_pixelData, m_pixelDataSize, pixels, static_cast<uint32_t>(m_outStride), m_out.biWidth, m_out.biHeight);
    break;
  case Encoding::kBitFields:
    DecodeBitFields(pixels);
    break;
  }
}

void BmpReader::DecodeBitFields(uint8_t *pixels) const {
  const uint32_t inBytes = m_fileBits / 8u;
  const uint32_t outBytes = m_out.biBitCount / 8u;
  for (int64_t y = 0; y < m_out.biHeight; ++y) {
    const uint8_t *in = FileRow(y);
    uint8_t *out = pixels + static_cast<size_t>(y) * m_outStride;
    std::memset(out, 0, static_cast<size_t>(m_outStride));
    for (int32_t x = 0; x < m_out.biWidth; ++x, in += inBytes, out += outBytes) {
      const uint32_t value = inBytes == 2 ? LittleEndianUint16(in) : LittleEndianUint32(in);
      // Blue, green, red in memory: the channels in reverse.
      for (uint32_t c = 0; c < kBitFieldMaskCount; ++c) {
        const Channel &channel = m_channels[kBitFieldMaskCount - 1 - c];
        out[c] = ScaleTo8Bits((value & channel.mask) >> channel.shift, channel.bits);
      }
    }
  }
}
