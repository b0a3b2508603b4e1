#include "printing/PagePicture.h"

#include <cstdlib>
#include <cstring>

int32_t PagePicture::Height() const { return IsEmpty() ? 0 : std::abs(Header().biHeight); }

void PagePicture::Clear() {
  info.clear();
  info.shrink_to_fit();
  bits.clear();
  bits.shrink_to_fit();
}

uint32_t PagePicture::RowBytes(const BitmapInfoHeader &header) {
  const uint64_t bitsPerRow = uint64_t{static_cast<uint32_t>(header.biWidth)} * header.biBitCount;
  return static_cast<uint32_t>((bitsPerRow + 31) / 32 * 4);
}

uint32_t PagePicture::InfoBytes(const BitmapInfoHeader &header) {
  uint32_t bytes = header.biSize >= kBitmapInfoHeaderSize ? header.biSize : kBitmapInfoHeaderSize;
  if (header.biCompression == kCompressionBitFields)
    bytes += kBitFieldMaskCount * sizeof(uint32_t);
  if (header.biBitCount <= 8) {
    const uint32_t entries = header.biClrUsed != 0 ? header.biClrUsed : 1u << header.biBitCount;
    bytes += (entries < kMaxColorTableEntries ? entries : kMaxColorTableEntries) * sizeof(RgbQuad);
  }
  return bytes;
}

PagePicture PagePicture::Copy(const void *pixels, const BitmapInfoHeader *header) {
  PagePicture picture;
  if (pixels == nullptr || header == nullptr || header->biWidth <= 0 || header->biHeight == 0)
    return picture;
  const auto *infoStart = reinterpret_cast<const uint8_t *>(header);
  picture.info.assign(infoStart, infoStart + InfoBytes(*header));
  const uint64_t size = uint64_t{RowBytes(*header)} * static_cast<uint32_t>(std::abs(header->biHeight));
  const auto *pixelStart = static_cast<const uint8_t *>(pixels);
  picture.bits.assign(pixelStart, pixelStart + size);
  // The copy is packed: its size field says so to whoever stretches it.
  BitmapInfoHeader copied;
  std::memcpy(&copied, picture.info.data(), sizeof copied);
  copied.biSizeImage = static_cast<uint32_t>(size);
  std::memcpy(picture.info.data(), &copied, sizeof copied);
  return picture;
}
