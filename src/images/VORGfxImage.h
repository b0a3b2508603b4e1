#pragma once

#include <cstdint>

#include "foundation/VORRect.h"
#include "images/ImageLayout.h"

class DrawingContext;

// A picture a page object shows: a DIB from a publication resource, a frame
// of the internal image format, or a metafile. Images load their picture on
// the first lock and free it on the last unlock, so that the resource
// manager may evict what no page shows.
class VORGfxImage {
public:
  explicit VORGfxImage(const ImageLayout &layout) : m_layout(layout) {}
  VORGfxImage(const VORGfxImage &) = delete;
  VORGfxImage &operator=(const VORGfxImage &) = delete;
  virtual ~VORGfxImage() = default;

  // Draws into the destination rectangle, clipped to clip; false when there
  // is nothing to draw.
  virtual bool Draw(DrawingContext &context, const VORRect &destination, const VORRect &clip) = 0;
  virtual void GetSize(int32_t &width, int32_t &height, int32_t &bitsPerPixel) = 0;
  // Locks nest; only the first loads the picture. False when it cannot be
  // loaded (the count stays).
  virtual bool Lock() {
    ++m_lockCount;
    return true;
  }
  // The new count; the last unlock frees the picture.
  virtual int32_t Unlock() {
    if (m_lockCount > 0) {
      --m_lockCount;
    }
    return m_lockCount;
  }
  // Whether the point (page coordinates) hits the picture drawn into the
  // destination rectangle.
  virtual bool HitTest(int32_t /*x*/, int32_t /*y*/, const VORRect & /*destination*/) { return true; }
  // The key colour the image file declared, -1 none; bit 0x1000000 marks a
  // palette index in the low byte.
  virtual int32_t GetFileKeyColor() { return -1; }
  virtual bool MatchesAppPalette() = 0;

  int32_t GetLockCount() const { return m_lockCount; }
  const ImageLayout &GetLayout() const { return m_layout; }
  ImageLayout &GetLayout() { return m_layout; }

protected:
  int32_t m_lockCount = 0;
  ImageLayout m_layout;
};
