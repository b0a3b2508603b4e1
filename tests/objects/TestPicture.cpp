#include "TestPicture.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "display/DrawingContext.h"

namespace {

constexpr int32_t kTrueColourBits = 24;

size_t Stride(int32_t width, int32_t bits) { return static_cast<size_t>((width * bits + 31) / 32 * 4); }

struct MaskInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colours[2];
};

BITMAPINFOHEADER Header(int32_t width, int32_t height, int32_t bits) {
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof(header);
  header.biWidth = width;
  header.biHeight = -height; // top-down
  header.biPlanes = 1;
  header.biBitCount = static_cast<WORD>(bits);
  header.biCompression = BI_RGB;
  return header;
}

} // namespace

TestPicture::TestPicture(int32_t width, int32_t height, std::vector<uint32_t> pixels, const ImageLayout &layout)
    : VORGfxImage(layout), m_width(width), m_height(height) {
  const size_t stride = Stride(width, kTrueColourBits);
  const size_t maskStride = Stride(width, 1);
  m_bits.assign(stride * static_cast<size_t>(height), 0);
  m_maskBits.assign(maskStride * static_cast<size_t>(height), 0);
  const int32_t key = layout.MaskKey();
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t colour = pixels[static_cast<size_t>(y * width + x)];
      uint8_t *p = &m_bits[stride * static_cast<size_t>(y) + static_cast<size_t>(x) * 3];
      p[0] = static_cast<uint8_t>(colour);
      p[1] = static_cast<uint8_t>(colour >> 8);
      p[2] = static_cast<uint8_t>(colour >> 16);
      // The key as a COLORREF is blue in its high byte.
      const uint32_t asColorRef = (colour >> 16 & 0xFF) | (colour & 0xFF00) | (colour & 0xFF) << 16;
      if (key < 0 || asColorRef != static_cast<uint32_t>(key))
        m_maskBits[maskStride * static_cast<size_t>(y) + static_cast<size_t>(x / 8)] |=
            static_cast<uint8_t>(0x80 >> (x % 8));
    }
  }
}

ImageLayout TestPicture::Filling() {
  ImageLayout layout;
  layout.fitMode = ImageLayout::kStretch;
  layout.keepAspect = 0;
  return layout;
}

ImageLayout TestPicture::KeyColoured(uint32_t key) {
  ImageLayout layout = Filling();
  layout.transparencyKind = ImageLayout::kKeyColor;
  // The layout keeps it as a COLORREF: red in the low byte.
  layout.keyColor = (key >> 16 & 0xFF) | (key & 0xFF00) | (key & 0xFF) << 16;
  return layout;
}

std::unique_ptr<TestPicture> TestPicture::Solid(int32_t width, int32_t height, uint32_t colour,
                                                const ImageLayout &layout) {
  return std::make_unique<TestPicture>(width, height,
                                       std::vector<uint32_t>(static_cast<size_t>(width * height), colour), layout);
}

bool TestPicture::Draw(DrawingContext &context, const VORRect &destination, const VORRect & /*clip*/) {
  BITMAPINFO info = {};
  info.bmiHeader = Header(m_width, m_height, kTrueColourBits);
  const VORRect source(0, 0, m_width, m_height);
  if (GetLayout().transparencyKind == ImageLayout::kOpaque) {
    context.StretchDIBits(destination, source, m_bits.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    return true;
  }
  MaskInfo mask = {};
  mask.header = Header(m_width, m_height, 1);
  mask.colours[1] = RGBQUAD{0xFF, 0xFF, 0xFF, 0};
  context.StretchDIBitsMasked(destination, source, m_bits.data(), m_maskBits.data(), &info,
                              reinterpret_cast<const BITMAPINFO *>(&mask));
  return true;
}

void TestPicture::GetSize(int32_t &width, int32_t &height, int32_t &bitsPerPixel) {
  width = m_width;
  height = m_height;
  bitsPerPixel = reportedBits;
}
