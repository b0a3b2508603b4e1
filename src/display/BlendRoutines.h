#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/DibTypes.h"
#include "display/DisplaySettings.h"
#include "foundation/VORRect.h"

class DibImage;
class Palette;

// The blend loops of the display layer: a solid colour over 24-bit rows at an
// opacity (the text object's highlight, the drawing context's fills and
// shadows) and one image over another at a level (the drawing context's
// blends). Levels run from 0 to 256 (256 is fully the new colour), opacities
// from 0 to 255; a level or opacity of 0 changes nothing, values outside the
// range are clamped, and no channel wraps.

// 24-bit rows from the start of the bits (for a bottom-up DIB its bottom
// row), stride = width x 3 padded to 4. Each channel of the n x m pixels at
// (x, y) becomes trunc(a x c / 256) + ((255 - a) x pixel) >> 8. False, with
// nothing changed, when the rectangle does not lie inside the bits.
bool BlendColorRect24(uint8_t *bits, size_t bitsSize, ColorRef colour, int32_t x, int32_t y, int32_t imageWidth,
                      int32_t columns, int32_t rows, int32_t opacity, PixelLoops loops = SelectedPixelLoops());

// The same limited to the pixels whose mask bit is set: mask rows padded to
// 32 bits, the leftmost pixel in the most significant bit; pixel i of a row
// reads the mask at (maskX + i, maskY + row).
bool BlendColorMaskedRect24(const uint8_t *maskBits, size_t maskSize, int32_t maskWidth, int32_t maskX, int32_t maskY,
                            ColorRef colour, int32_t imageWidth, int32_t imageX, int32_t imageY, int32_t columns,
                            int32_t rows, uint8_t *imageBits, size_t imageSize, int32_t opacity,
                            PixelLoops loops = SelectedPixelLoops());

// Row loops. coverage, when given, holds one byte per pixel: 0 leaves the
// pixel alone. level is 1..256.
//   colour over 24-bit pixels: trunc(c x level / 256) + (pixel x (255 - level)) >> 8 (the old weight is 0 at 256)
void BlendColorRow24(uint8_t *row, int32_t count, ColorRef colour, int32_t level, const uint8_t *coverage,
                     PixelLoops loops);
//   24-bit source over destination: (source x level + destination x (256 - level)) >> 8
void BlendRow24(uint8_t *destination, const uint8_t *source, int32_t count, int32_t level, const uint8_t *coverage,
                PixelLoops loops);
// A palette as the 8-bit loops read it: the colour of every index (those at
// or past the palette's count from the default palette) and its inverse
// table. The palette must hold colours (see Palette::ForEightBit).
struct EightBitColours {
  explicit EightBitColours(Palette &palette);
  // The index nearest the blend of two indexes' colours at a level.
  uint8_t Mix(uint8_t source, uint8_t destination, int32_t level) const;
  RgbQuad colours[kMaxColorTableEntries];
  const uint8_t *inverseTable;
};

// Blends of 8-bit pixels at one level. A pair of indexes always blends to
// the same index, so over a large area each pair is worked out once.
class EightBitBlend {
public:
  static constexpr uint16_t kUnknown = 0xFFFF;

  EightBitBlend(const EightBitColours &colours, int32_t level, int64_t pixels);
  uint8_t operator()(uint8_t source, uint8_t destination) {
    uint16_t *known = Known();
    if (known == nullptr) {
      return m_colours.Mix(source, destination, m_level);
    }
    const uint16_t answer = known[PairOf(source, destination)];
    return answer != kUnknown ? static_cast<uint8_t>(answer) : Learn(source, destination);
  }
  // The pairs worked out so far, indexed by PairOf (kUnknown where not yet),
  // or null when the blend is too small to remember them.
  uint16_t *Known() { return m_known.empty() ? nullptr : m_known.data(); }
  static size_t PairOf(uint8_t source, uint8_t destination) { return static_cast<size_t>(source) << 8 | destination; }
  // Works a pair out and remembers it.
  uint8_t Learn(uint8_t source, uint8_t destination) {
    const uint8_t answer = m_colours.Mix(source, destination, m_level);
    m_known[PairOf(source, destination)] = answer;
    return answer;
  }

private:
  const EightBitColours &m_colours;
  int32_t m_level;
  std::vector<uint16_t> m_known;
};

//   8-bit pixels through the palette's colours and back through its inverse table
void BlendRow8(uint8_t *destination, const uint8_t *source, int32_t count, const uint8_t *coverage,
               EightBitBlend &blend);
// A colour over 8-bit pixels at one level, (old x (256 - level)) >> 8 +
// (colour x level) >> 8 per channel: each index's answer worked out once.
struct EightBitColourOver {
  EightBitColourOver(const EightBitColours &palette, ColorRef colour, int32_t level);
  uint8_t indexes[kMaxColorTableEntries];
};
void BlendColorRow8(uint8_t *row, int32_t count, const uint8_t *coverage, const EightBitColourOver &over);

// A one-bit mask read for the pixels of another image: the bit for pixel
// (x, y) is the mask's bit at (x + dx, y + dy); outside the mask a pixel is
// not covered.
struct MaskPlacement {
  const DibImage *mask = nullptr;
  int32_t dx = 0;
  int32_t dy = 0;
};

// One image blended into another: destination pixel (x, y) of the
// destination rectangle takes source pixel (x x sw / dw, y x sh / dh) from
// the source rectangle's corner. Only pixels whose masks (placed over the
// source) are all set take part. Rectangles are in each image's pixels from
// its top-left corner; what lies outside an image is left out. Both images
// 24 bits, or both 8 bits (through the palette, or the default palette when
// it has no colours); other formats answer false and change nothing.
bool BlendImage(const DibImage &source, const VORRect &sourceRect, const MaskPlacement *masks, int32_t maskCount,
                DibImage &destination, const VORRect &destinationRect, int32_t level, Palette *palette,
                PixelLoops loops = SelectedPixelLoops());

// A colour blended into a rectangle of an image (24 or 8 bits), limited to
// the pixels whose masks (placed over the image) are all set. A colour with
// the palette-index bit stands for that entry's colour.
bool BlendColorImage(DibImage &image, const VORRect &rect, ColorRef colour, int32_t level, const MaskPlacement *masks,
                     int32_t maskCount, Palette *palette, PixelLoops loops = SelectedPixelLoops());
