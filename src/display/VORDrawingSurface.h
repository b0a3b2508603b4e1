#pragma once

#include <cstdint>
#include <vector>

#include "display/PixelSurface.h"
#include "foundation/VORRect.h"

class DrawingContext;

// Everything that can be drawn on: views, off-screen object surfaces and the
// page's screen buffer. Drawing is never done at once: rectangles are marked
// dirty and, at the flush, each one is redrawn whole by RedrawRect.
// Coordinates are page coordinates.
class VORDrawingSurface : public PixelSurface {
public:
  VORDrawingSurface() = default;
  VORDrawingSurface(const VORDrawingSurface &) = delete;
  VORDrawingSurface &operator=(const VORDrawingSurface &) = delete;
  ~VORDrawingSurface() override;

  // Merges the rectangle into the first dirty one it overlaps, scanning from
  // the most recent; a rectangle that overlaps none is kept as the newest.
  virtual void AddDirtyRect(const VORRect &rect);
  virtual void InvalidateAll();
  // Redraws, oldest first, every dirty rectangle that meets the bounds and
  // forgets them all. Rectangles made dirty while redrawing wait for the
  // next flush.
  virtual void FlushDirtyRects();
  // The bounds' top-left corner.
  virtual VORPoint GetOrigin() const { return VORPoint{m_bounds.left, m_bounds.top}; }
  // Moves the bounds so that their top-left corner is (x, y), size kept.
  virtual void MoveOrigin(int32_t x, int32_t y, bool redraw);
  virtual void SetBounds(const VORRect &rect);
  // Null when the surface cannot be drawn on now.
  virtual DrawingContext *GetDrawingContext() = 0;
  // The base gives the rectangle back unchanged: nothing moved.
  virtual VORRect ScrollRect(const VORRect &rect, int32_t dx, int32_t dy);
  virtual void RedrawRect(const VORRect &rect) = 0;

  const VORRect &GetSurfaceBounds() const { return m_bounds; }
  bool HasDirtyRects() const { return !m_dirty.empty(); }
  const std::vector<VORRect> &GetDirtyRects() const { return m_dirty; }

protected:
  // The base behaviour alone, for surfaces that override AddDirtyRect to
  // tell others as well.
  void AddOwnDirtyRect(const VORRect &rect);
  void SetSurfaceBounds(const VORRect &rect) { m_bounds = rect; }

private:
  std::vector<VORRect> m_dirty; // oldest first
  VORRect m_bounds = VORRect::NotSet();
};
