#include "media/AviFrame.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace AviFrame {
namespace {

bool SameShape(const DibImage &frame, const DibLayout &layout) {
  return frame.IsValid() && frame.GetWidth() == layout.width && frame.GetHeight() == layout.height &&
         frame.GetBitsPerPixel() == layout.bitsPerPixel && !frame.IsTopDown() &&
         frame.GetColorTableEntries() == layout.colorEntries;
}

void CopyColors(BitmapInfo256 &request, const RgbQuad *colors, uint32_t count) {
  if (colors != nullptr) {
    std::memcpy(request.colors, colors, std::min(count, kMaxColorTableEntries) * sizeof(RgbQuad));
  }
}

} // namespace

bool CopyInto(const BitmapInfoHeader *packed, DibImage &frame) {
  DibLayout layout;
  if (packed == nullptr || !DibImage::ComputeLayout(*packed, layout)) {
    return false;
  }
  if (!SameShape(frame, layout)) {
    BitmapInfo256 info{};
    std::memcpy(&info.header, packed, kBitmapInfoHeaderSize);
    info.header.biSize = kBitmapInfoHeaderSize;
    info.header.biHeight = layout.height;
    info.header.biCompression = kCompressionRgb;
    info.header.biSizeImage = layout.imageSize;
    if (layout.maskBytes != 0 || layout.headerSize != kBitmapInfoHeaderSize) {
      return false; // channel masks and larger headers are not what the library hands out
    }
    if (!frame.Create(&info.header)) {
      return false;
    }
  }
  const auto *bytes = reinterpret_cast<const uint8_t *>(packed);
  if (layout.colorEntries != 0) {
    std::memcpy(frame.GetColorTable(), bytes + layout.headerSize, layout.colorEntries * sizeof(RgbQuad));
  }
  const uint8_t *pixels = bytes + layout.InfoSize();
  for (int32_t y = 0; y < layout.height; ++y) {
    // Rows counted from the top in both pictures.
    const int32_t sourceRow = layout.topDown ? y : layout.height - 1 - y;
    std::memcpy(frame.GetRowAddress(y), pixels + static_cast<size_t>(sourceRow) * layout.stride, layout.stride);
  }
  return true;
}

BitmapInfo256 MakeRequest(const BitmapInfoHeader &source, const RgbQuad *sourceColors, uint32_t sourceColorCount,
                          const RgbQuad *displayColors, uint32_t displayColorCount) {
  BitmapInfo256 request{};
  request.header = source;
  request.header.biSize = kBitmapInfoHeaderSize;
  // -2^31 has no positive form: it asks for the tallest height, which no
  // frame picture can hold.
  request.header.biHeight = source.biHeight == INT32_MIN ? INT32_MAX
                            : source.biHeight < 0        ? -source.biHeight
                                                         : source.biHeight;
  request.header.biPlanes = 1;
  request.header.biCompression = kCompressionRgb;
  request.header.biSizeImage = 0;
  if (source.biBitCount == 8) {
    request.header.biClrUsed = kMaxColorTableEntries;
    CopyColors(request, sourceColors, sourceColorCount);
  } else {
    request.header.biBitCount = 24;
    request.header.biClrUsed = 0;
    if (source.biBitCount > 8) {
      CopyColors(request, displayColors, displayColorCount);
    }
  }
  request.header.biClrImportant = 0;
  return request;
}

} // namespace AviFrame
