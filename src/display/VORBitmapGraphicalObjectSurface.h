#pragma once

#include <cstdint>

#include "display/VORBitmapObjectSurface.h"

class VORPaintable;

// The off-screen surface of one graphical object: the object (and its
// children) draw into it, and it is copied into the surface below with the
// object's shadow, opacity and masks. A surface may take its pixels from an
// inner surface instead (a deeper picture shown at the display's depth).
class VORBitmapGraphicalObjectSurface : public VORBitmapObjectSurface {
public:
  // object: borrowed. drawsItself: the object copies the surface out itself
  // (with shadow and opacity) and its shadow widens what the owner redraws.
  VORBitmapGraphicalObjectSurface(VORPaintable *object, bool maskAsked, bool dibAsked, VORView *parentView,
                                  int32_t depth, bool drawsItself, VORDrawingSurface *owner);

  // Borrowed; null for none.
  void SetInnerSurface(VORBitmapObjectSurface *surface) { m_inner = surface; }
  void RedrawRect(const VORRect &rect) override;
  void CopyToContext(const VORRect &source, const VORRect &destination, DrawingContext *extraMask,
                     DrawingContext *destinationContext, int32_t transparency) override;
  void NotifyOwner(const VORRect &rect) override;
  // The bounds, cut to twice the owner's size: an object far larger than
  // its page is never drawn whole.
  VORRect GetBounds() const override;

private:
  static constexpr int64_t kMaxOwnerMultiple = 2;

  VORPaintable *m_object;
  bool m_drawsItself;
  VORBitmapObjectSurface *m_inner = nullptr;
};
