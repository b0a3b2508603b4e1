#include "filters/FilterDib.h"

uint64_t FilterDib::RowBytes(uint32_t width, uint16_t bits) { return (uint64_t{width} * bits + 31) / 32 * 4; }

FilterResult FilterDib::Create(uint32_t width, uint32_t height, uint16_t bits, uint32_t colours) {
  m_block.Reset();
  m_bits = nullptr;
  if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX)
    return kFilterBadArgument;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
    return kFilterBadArgument;
  if (colours > (bits >= 24 ? 0U : 1U << bits))
    return kFilterBadArgument;
  const uint64_t stride = RowBytes(width, bits);
  const uint64_t imageBytes = stride * height;
  if (imageBytes > kMaxImageBytes)
    return kFilterNoMemory;
  const uint64_t infoBytes = kBitmapInfoHeaderSize + uint64_t{colours} * sizeof(RgbQuad);
  if (!m_block.Allocate(infoBytes + imageBytes))
    return kFilterNoMemory;
  BitmapInfoHeader *header = Header();
  header->biSize = kBitmapInfoHeaderSize;
  header->biWidth = static_cast<int32_t>(width);
  header->biHeight = static_cast<int32_t>(height);
  header->biPlanes = 1;
  header->biBitCount = bits;
  header->biCompression = kCompressionRgb;
  header->biSizeImage = static_cast<uint32_t>(imageBytes);
  header->biClrUsed = colours;
  m_bits = m_block.Data() + infoBytes;
  m_width = width;
  m_height = height;
  m_stride = static_cast<uint32_t>(stride);
  m_colours = colours;
  return kFilterSuccess;
}

void FilterDib::SetGreyRamp(uint32_t entries) {
  if (entries < 2 || entries > m_colours)
    return;
  RgbQuad *colours = Colours();
  for (uint32_t i = 0; i < entries; ++i) {
    const auto level = static_cast<uint8_t>(i * 255 / (entries - 1));
    colours[i] = RgbQuad{level, level, level, 0};
  }
}
