#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/DisplaySettings.h"
#include "foundation/VORRect.h"

// The pixels an effect works on: pictures of its rectangle in 32-bit
// pixels (blue, green, red, unused), coordinates from the rectangle's
// top-left corner, and a one-bit mask of the same size.
struct FXImage {
  // The most pixels an effect takes a picture of: a 4096 x 4096 rectangle.
  // Larger rectangles (from hostile object sizes) run no effect.
  static constexpr uint64_t kMaxPixels = uint64_t{4096} * 4096;

  FXImage() = default;
  FXImage(const FXImage &) = delete;
  FXImage &operator=(const FXImage &) = delete;

  int32_t width = 0;
  int32_t height = 0;

  // False (and empty) for a size over kMaxPixels or not positive.
  bool Resize(int32_t w, int32_t h);
  // Works on pixels the caller keeps (a bitmap of the system's, top-down
  // rows stride pixels apart; a stride below w means w): the top-left w x h
  // of a larger picture, say.
  void Attach(uint32_t *bits, int32_t w, int32_t h, int32_t stride = 0);
  uint32_t *Row(int32_t y) { return m_data + static_cast<size_t>(y) * m_stride; }
  const uint32_t *Row(int32_t y) const { return m_data + static_cast<size_t>(y) * m_stride; }
  VORRect Bounds() const { return VORRect(0, 0, width, height); }
  void Fill(uint32_t colour);
  size_t PixelCount() const { return static_cast<size_t>(width) * static_cast<size_t>(height); }

private:
  std::vector<uint32_t> m_own;
  uint32_t *m_data = nullptr;
  size_t m_stride = 0; // pixels from one row to the next
};

class FXMask {
public:
  bool Resize(int32_t w, int32_t h);
  void Fill(bool set);
  bool Get(int32_t x, int32_t y) const {
    return (m_words[static_cast<size_t>(y) * m_stride + static_cast<size_t>(x >> 5)] >> (x & 31)) & 1u;
  }
  void Set(int32_t x, int32_t y, bool set);
  // Sets or clears the pixels [x0, x1) of row y, clipped to the mask.
  void SetSpan(int32_t y, int32_t x0, int32_t x1, bool set);
  void SetRect(const VORRect &rect, bool set);
  int32_t Width() const { return m_width; }
  int32_t Height() const { return m_height; }
  const uint32_t *Row(int32_t y) const { return m_words.data() + static_cast<size_t>(y) * m_stride; }

private:
  int32_t m_width = 0;
  int32_t m_height = 0;
  size_t m_stride = 0;
  std::vector<uint32_t> m_words;
};

namespace FXCompose {

// Each copies into out's area (clipped to out) from the same place of the
// source unless a shift says where the source pixel lies (source = out
// position - shift). Pixels the source lacks are left as they are.
void Copy(FXImage &out, const FXImage &source, const VORRect &area, int32_t shiftX = 0, int32_t shiftY = 0);
// out = old blended towards new: level 0 old, 256 new.
void Blend(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const VORRect &area, int32_t level);
// out blended towards a colour (0x00BBGGRR as the system gives it): level
// 0 unchanged, 256 the colour.
void BlendColour(FXImage &out, const VORRect &area, uint32_t colorref, int32_t level);
// out = mask ? new : old.
void ThroughMask(FXImage &out, const FXImage &oldPicture, const FXImage &newPicture, const FXMask &mask,
                 const VORRect &area, PixelLoops loops = SelectedPixelLoops());
// The source's whole picture scaled (nearest pixel) from sourceRect into
// targetRect, drawn where targetRect meets area.
void Stretch(FXImage &out, const FXImage &source, const VORRect &sourceRect, const VORRect &targetRect,
             const VORRect &area);
// A colour as the system gives it (0x00BBGGRR) as a pixel.
uint32_t PixelOf(uint32_t colorref);

} // namespace FXCompose
