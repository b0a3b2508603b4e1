#pragma once

#include <cstdint>

#include "foundation/VORRect.h"

class DrawingContext;
class VORBitmapObjectSurface;

// What the display layer asks of a graphical page object: the page's
// composition and the object's own off-screen surfaces draw through it. The
// page objects implement it; a child of a page that does not is not drawn.
class VORPaintable {
public:
  virtual ~VORPaintable() = default;

  // False only when the object covers its whole screen rectangle.
  virtual bool IsTransparent() = 0;
  // The area the object paints: its rectangle widened by its drop shadow.
  virtual VORRect GetScreenRect() = 0;
  // The object's own rectangle.
  virtual VORRect GetRect() = 0;
  // Paints the part of the update rectangle it covers, children included.
  virtual void Paint(const VORRect &update, DrawingContext &context) = 0;
  // Draws its content and children into the rectangle, as its own surface
  // needs it.
  virtual void DrawInto(const VORRect &rect, DrawingContext &context) = 0;
  // Widens the rectangle by the drop-shadow offsets.
  virtual void AddShadowOffset(VORRect &rect) = 0;
  // Copies the part of its surface into the target with its shadow,
  // opacity and masks; extraTransparency 0..255 fades it further.
  virtual void BlitFromSurface(const VORRect &part, VORBitmapObjectSurface &surface, DrawingContext &target,
                               int32_t extraTransparency) = 0;

  // Before a page is composed each level of objects derives its draw flags
  // and builds its surfaces (CompositionOrder::PrepareLevel). An object
  // without draw flags keeps these defaults.
  // Back to the flags every recomputation starts from.
  virtual void ResetDrawFlags() {}
  // The object's own flags from its properties.
  virtual void UpdateDrawFlags() {}
  // The same for the levels below the object.
  virtual void UpdateChildDrawFlags() {}
  virtual bool NeedsOwnSurface() { return false; }
  virtual void AddDrawFlags(uint16_t /*flags*/) {}
  // A visible object shown in a view makes its surfaces anew.
  virtual void RebuildSurfaces() {}
};
