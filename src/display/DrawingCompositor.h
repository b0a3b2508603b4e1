#pragma once

#include <windows.h>

#include "foundation/VORRect.h"

class DrawingContext;

// The compose half of the drawing context: copies, blends and shadows from
// one context (the source) into another, and blends of a colour into a
// context's own pixels. The drawing context's operations of those names
// (CopyTo, TransparentCopyTo, CopyMaskTo, BlendTo, DrawShadow,
// BlendFillRect) come here. Rectangles are page coordinates of their
// context; an extra mask context, when given, limits the copy with its mask
// as well. Failures go to the error hook and the steps go on.
class DrawingCompositor {
public:
  // A deep surface into an 8-bit one is dithered through the application
  // palette; a source with a mask (or an extra mask) copies transparently;
  // anything else is a plain copy that covers the destination's mask.
  static void Copy(DrawingContext &context, DrawingContext &destination, DrawingContext *extraMask,
                   const VORRect &source, const VORRect &destinationRect);
  // XOR, AND, XOR through a scratch bitmap of the destination's format: the
  // pixels under the masks' white take the source's, the rest stay.
  static void TransparentCopy(DrawingContext &context, DrawingContext &destination, DrawingContext *extraMask,
                              const VORRect &source, const VORRect &destinationRect);
  static void CopyMask(DrawingContext &context, DrawingContext &destination, const VORRect &source,
                       const VORRect &destinationRect, DWORD rop);
  // level 0..256 (256: the source); dx, dy widen the destination area
  // that is locked.
  static void Blend(DrawingContext &context, DrawingContext &destination, DrawingContext *extraMask,
                    const VORRect &source, const VORRect &destinationRect, int level, int dx, int dy);
  static void Shadow(DrawingContext &context, DrawingContext &destination, DrawingContext *extraMask,
                     const VORRect &clip, const VORRect &object, int dx, int dy, COLORREF colour, int level);
  static void BlendFill(DrawingContext &context, const VORRect &rect, COLORREF colour, int level);
};
