#pragma once

#include <cstdint>

#include "display/VORDrawingSurface.h"

// An off-screen surface that reports every rectangle made dirty in it to the
// surface it is copied into (its owner), so that both are redrawn together.
class VORObjectSurface : public VORDrawingSurface {
public:
  // owner: borrowed; may be null.
  explicit VORObjectSurface(VORDrawingSurface *owner) : m_owner(owner) {}

  void AddDirtyRect(const VORRect &rect) override;
  void InvalidateAll() override;
  // Tells only the owner.
  virtual void NotifyOwner(const VORRect &rect);
  // Marks the rectangle dirty here only: the owner is composing that part
  // now and takes the result as it comes.
  void AddDirtyRectUntold(const VORRect &rect) { AddOwnDirtyRect(rect); }
  // Copies (transparency 0) or blends (1..255) the source rectangle of this
  // surface into the destination rectangle of the given context, or of the
  // owner's when none is given. extraMask limits the copy with its mask.
  virtual void CopyToContext(const VORRect &source, const VORRect &destination, DrawingContext *extraMask,
                             DrawingContext *destinationContext, int32_t transparency) = 0;

  VORDrawingSurface *GetOwner() const { return m_owner; }

private:
  VORDrawingSurface *m_owner;
};
