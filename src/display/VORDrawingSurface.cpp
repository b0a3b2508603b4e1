#include "display/VORDrawingSurface.h"

VORDrawingSurface::~VORDrawingSurface() = default;

void VORDrawingSurface::AddDirtyRect(const VORRect &rect) { AddOwnDirtyRect(rect); }

void VORDrawingSurface::AddOwnDirtyRect(const VORRect &rect) {
  for (auto dirty = m_dirty.rbegin(); dirty != m_dirty.rend(); ++dirty) {
    VORRect overlap;
    if (overlap.Intersect(*dirty, rect)) {
      dirty->Union(*dirty, rect);
      return;
    }
  }
  m_dirty.push_back(rect);
}

void VORDrawingSurface::InvalidateAll() { AddDirtyRect(m_bounds); }

void VORDrawingSurface::FlushDirtyRects() {
  // Redrawing may mark more rectangles dirty (an object that invalidates
  // itself while it paints): the list is taken first, so the walk never sees
  // it change.
  std::vector<VORRect> dirty;
  dirty.swap(m_dirty);
  for (const VORRect &rect : dirty) {
    VORRect visible;
    if (visible.Intersect(rect, m_bounds)) {
      RedrawRect(rect);
    }
  }
}

void VORDrawingSurface::MoveOrigin(int32_t x, int32_t y, bool /*redraw*/) { m_bounds = m_bounds.MovedTo(x, y); }

void VORDrawingSurface::SetBounds(const VORRect &rect) { m_bounds = rect; }

VORRect VORDrawingSurface::ScrollRect(const VORRect &rect, int32_t /*dx*/, int32_t /*dy*/) { return rect; }
