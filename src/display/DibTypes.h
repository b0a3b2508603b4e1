#pragma once

#include <cstdint>

// The file and memory forms of a device-independent bitmap, laid out byte for
// byte like the system's BITMAPINFOHEADER, RGBQUAD and PALETTEENTRY, so that
// the pixel loops need no system header and the Win32 half can pass them to
// GDI as they are.

struct RgbQuad {
  uint8_t blue;
  uint8_t green;
  uint8_t red;
  uint8_t reserved;
};

struct BitmapInfoHeader {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight; // positive: rows stored bottom-up; negative: top-down
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};

static_assert(sizeof(RgbQuad) == 4, "RgbQuad must match RGBQUAD");
static_assert(sizeof(BitmapInfoHeader) == 40, "BitmapInfoHeader must match BITMAPINFOHEADER");

constexpr uint32_t kBitmapInfoHeaderSize = 40;
constexpr uint32_t kCompressionRgb = 0;       // BI_RGB
constexpr uint32_t kCompressionBitFields = 3; // BI_BITFIELDS: three channel masks follow a 40-byte header
constexpr uint32_t kBitFieldMaskCount = 3;
constexpr uint32_t kMaxColorTableEntries = 256;
// The one limit on a picture's pixels, whatever a file's header claims:
// every reader (DIB images, the internal format, FLIC frames, the import
// filters) refuses a larger one before it allocates anything. 256 MiB is a
// picture of 9,400 x 9,400 at 24 bits, some forty times the largest screen
// a publication is made for; a 32-bit player could hardly give one picture
// more than that.
constexpr uint32_t kMaxPictureBytes = 0x10000000;

// A header followed by room for a full colour table: the form GDI takes as a
// BITMAPINFO for any depth up to 8 bits.
struct BitmapInfo256 {
  BitmapInfoHeader header;
  RgbQuad colors[kMaxColorTableEntries];
};

// Colour values are COLORREFs: red in the low byte. The bit 0x01000000 turns
// the value into a palette index held in the low byte.
using ColorRef = uint32_t;
constexpr ColorRef kPaletteIndexFlag = 0x01000000;

constexpr uint8_t RedOf(ColorRef colour) { return static_cast<uint8_t>(colour & 0xFF); }
constexpr uint8_t GreenOf(ColorRef colour) { return static_cast<uint8_t>((colour >> 8) & 0xFF); }
constexpr uint8_t BlueOf(ColorRef colour) { return static_cast<uint8_t>((colour >> 16) & 0xFF); }
constexpr ColorRef MakeColorRef(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<ColorRef>(red) | static_cast<ColorRef>(green) << 8 | static_cast<ColorRef>(blue) << 16;
}
constexpr bool IsPaletteIndex(ColorRef colour) { return (colour & kPaletteIndexFlag) != 0; }
