#pragma once

#include <cstdint>

#include "foundation/VORRect.h"

// The word of draw flags a graphical object derives from its properties
// before its page is composed, with the three values that go with it. The
// flags decide which objects draw straight into the surface below them and
// which get off-screen surfaces of their own; the rules are kept here, free
// of the platform, so that they can be checked as a table.
struct DrawFlags {
  enum Flag : uint16_t {
    kNotCovering = 0x0001,        // does not cover its rectangle
    kDefault = 0x0002,            // set at every recomputation
    kNotFilling = 0x0004,         // empty, metafile, key colour, not stretched
    kMoves = 0x0008,              // animated or draggable (or a sibling is)
    kEffect = 0x0010,             // a show or hide effect is named
    kKeyColour = 0x0020,          // transparent-colour flag
    kOpacity = 0x0040,            // opacity below 256
    kBlendOffset = 0x0100,        // blend offset not zero
    kDepthMismatch = 0x0200,      // the image is deeper than the display
    kShadow = 0x0400,             // drop shadow
    kCapturesBackground = 0x0800, // a child blends with what lies below
    kEmpty = 0x1000,              // nothing to paint, children included
  };
  // Bits from here up are not the recomputation's: a reset keeps them.
  static constexpr uint16_t kKeptBits = 0xE000;
  static constexpr int32_t kOpaque = 256;

  uint16_t word = 0;
  int32_t blendX = 0;
  int32_t blendY = 0;
  // 256 minus the opacity: 0 opaque, 256 invisible.
  int32_t transparency = 0;

  bool Has(uint16_t flags) const { return (word & flags) != 0; }
  bool HasAll(uint16_t flags) const { return (word & flags) == flags; }
  void Add(uint16_t flags) { word = static_cast<uint16_t>(word | flags); }
  // A fresh start: kDefault alone below the kept bits, the values 0.
  void Reset();
};

// What the draw-flag rule reads of one object.
struct DrawFlagInputs {
  bool empty = false;         // names no picture that can be shown
  bool childrenEmpty = false; // every graphical child is empty too
  bool hasLinkedResource = false;
  bool linkedIsMetafile = false;
  int32_t transparencyKind = 0;
  int32_t fitMode = 1;
  int32_t keepAspect = 0;
  uint16_t opacity = DrawFlags::kOpaque;
  int32_t blendX = 0;
  int32_t blendY = 0;
  uint8_t transparentColourFlag = 0;
  bool hasEffect = false;
  bool moves = false; // an animation reference or draggable
  int32_t shadowX = 0;
  int32_t shadowY = 0;
};

// Where an object draws itself.
struct SurfaceChoice {
  enum Kind {
    kNothing, // nothing to paint: no surface at all
    kDirect,  // straight into the parent's or the page's surface
    kSingle,  // one surface at the target's depth
    kPair,    // a 24-bit drawing surface shown through one at the target's depth
  };
  Kind kind = kDirect;
  bool mask = false;
  bool blending = false;
};

namespace DrawFlagRules {

// Opacities are 16-bit in the file; anything above opaque is opaque.
uint16_t ClampOpacity(uint16_t opacity);
// The object's own flags (added to what flags holds) from its inputs.
void Apply(DrawFlags &flags, const DrawFlagInputs &inputs);
// Whether the object makes its parent capture what lies below first.
bool NeedsParentCapture(const DrawFlags &flags);
// The surfaces the object needs; a picture unsuited to the display's depth
// adds kDepthMismatch.
SurfaceChoice ChooseSurfaces(DrawFlags &flags, bool suitsDisplayDepth);
// False only when the object covers its whole screen rectangle.
bool IsTransparent(const DrawFlags &flags, bool visible, bool effectRunning);
// Copied out with a blend rather than a plain copy.
bool Blends(const DrawFlags &flags, int32_t extraTransparency);
// The blend level 0..255 for the object's transparency and an extra one.
int32_t BlendLevel(int32_t transparency, int32_t extraTransparency);
// The rectangle widened by the shadow offset on the side it points to.
VORRect ScreenRect(const VORRect &rect, int32_t shadowX, int32_t shadowY);
// The drop shadow of an object that draws straight into its parent: the
// rectangle moved by the offset, as two strips outside the object.
void ShadowStrips(const VORRect &rect, int32_t shadowX, int32_t shadowY, VORRect &vertical, VORRect &horizontal);

} // namespace DrawFlagRules
