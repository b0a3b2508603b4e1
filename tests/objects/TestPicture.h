#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "images/VORGfxImage.h"

// A picture of solid blocks for painting tests: 24-bit pixels given as
// 0xRRGGBB, stretched over the destination. With a key-colour layout the
// pixels of the key colour are left out through a one-bit mask, as a
// publication's pictures with a transparent colour are drawn.
class TestPicture : public VORGfxImage {
public:
  // pixels: width x height colours, top row first.
  TestPicture(int32_t width, int32_t height, std::vector<uint32_t> pixels, const ImageLayout &layout = ImageLayout());

  bool Draw(DrawingContext &context, const VORRect &destination, const VORRect &clip) override;
  void GetSize(int32_t &width, int32_t &height, int32_t &bitsPerPixel) override;
  bool MatchesAppPalette() override { return matchesAppPalette; }

  // What the picture claims to be: its depth decides whether it suits an
  // 8-bit display.
  int32_t reportedBits = 24;
  bool matchesAppPalette = false;

  // A width x height picture of one colour.
  static std::unique_ptr<TestPicture> Solid(int32_t width, int32_t height, uint32_t colour,
                                            const ImageLayout &layout = Filling());
  // Stretched over the whole rectangle: the layout of a picture that
  // covers its object.
  static ImageLayout Filling();
  // Filling, with the pixels of the key colour (0xRRGGBB) left out.
  static ImageLayout KeyColoured(uint32_t key);

private:
  int32_t m_width;
  int32_t m_height;
  std::vector<uint8_t> m_bits;
  std::vector<uint8_t> m_maskBits;
};
