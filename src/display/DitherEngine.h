#pragma once

#include <cstdint>

#include "display/DibTypes.h"
#include "display/DisplaySettings.h"
#include "display/ErrorDiffusion.h"
#include "foundation/VORRect.h"

class Palette;

// Turns 24-bit pixels into indices of a palette with an error carried to the
// right only: for each channel half of the difference between the corrected
// value and the chosen colour reaches the next pixel; each row starts fresh.
class DitherEngine {
public:
  // The flag is accepted and has no effect.
  DitherEngine(Palette *palette, int32_t flag);

  DitherEngine(const DitherEngine &) = delete;
  DitherEngine &operator=(const DitherEngine &) = delete;

  // False when a header is missing; with both rectangles, true when their
  // sizes are equal; without, when the images' widths and heights are.
  bool CheckSizes(const BitmapInfoHeader *source, const BitmapInfoHeader *destination, const VORRect *sourceRect,
                  const VORRect *destinationRect) const;
  // Writes the engine's colours into the destination's colour table: at most
  // as many entries as that table holds.
  void CopyColorTable(BitmapInfoHeader *destination) const;
  // A 24-bit source into an 8-bit destination (colour table following its
  // header). Rectangles are in pixels from each image's top-left corner; null
  // means the whole image. The parts of the rectangles outside their images
  // are left out. False when the sizes differ, a format is not 24 into 8 bits
  // or the palette has no colours.
  bool Convert(const BitmapInfoHeader *sourceInfo, BitmapInfoHeader *destinationInfo, const void *sourceBits,
               void *destinationBits, const VORRect *sourceRect, const VORRect *destinationRect,
               PixelLoops loops = SelectedPixelLoops());

  int32_t GetCount() const { return m_count; }

  // One row of count pixels (blue, green, red) into indices. colours holds
  // the palette's colourCount entries as blue, green, red, 0 per entry.
  static void DitherRow(const uint8_t *source, uint8_t *destination, int32_t count, const uint8_t *inverseTable,
                        const RgbQuad *colours, int32_t colourCount, PixelLoops loops);

private:
  // The colours halved, as the vector loop subtracts them.
  static ErrorDiffusion::ChosenColours HalvesOf(const RgbQuad *colours, int32_t count);

  Palette *m_palette;
  RgbQuad m_colors[kMaxColorTableEntries] = {};
  ErrorDiffusion::ChosenColours m_halves;
  int32_t m_count = 0;
};
