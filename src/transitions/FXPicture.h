#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "transitions/FXPixels.h"

// A picture an effect works on: a 32-bit top-down DIB section with a memory
// device context for blits in and out. It may be larger than the area in
// use: the image is its top-left corner, rows a whole bitmap row apart, so
// that one picture serves effects of every size up to its own.
class FXPicture {
public:
  FXPicture() = default;
  FXPicture(const FXPicture &) = delete;
  FXPicture &operator=(const FXPicture &) = delete;
  ~FXPicture();

  // The bitmap of width x height; false when it cannot be made (or would
  // exceed FXImage::kMaxPixels).
  bool Make(int32_t width, int32_t height);
  bool Holds(int32_t width, int32_t height) const { return width <= m_width && height <= m_height; }
  uint64_t Area() const { return static_cast<uint64_t>(m_width) * static_cast<uint64_t>(m_height); }
  // The image becomes the top-left width x height (which it must hold).
  void Use(int32_t width, int32_t height);
  // Writes every byte of the bitmap once: the system's fresh memory costs a
  // page fault per page on its first touch, paid here instead of in an
  // effect's first frame. The pixels become black.
  void Touch();
  HDC GetDC() const { return m_dc; }

  FXImage image;

private:
  HBITMAP m_bitmap = nullptr;
  HDC m_dc = nullptr;
  HGDIOBJ m_displaced = nullptr;
  uint32_t *m_bits = nullptr;
  int32_t m_width = 0;
  int32_t m_height = 0;
};
