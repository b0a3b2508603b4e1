#include "objects/DrawFlags.h"

#include <algorithm>

void DrawFlags::Reset() {
  word = static_cast<uint16_t>((word & kKeptBits) | kDefault);
  blendX = 0;
  blendY = 0;
  transparency = 0;
}

namespace DrawFlagRules {

namespace {

constexpr uint16_t kUncovered = DrawFlags::kNotCovering | DrawFlags::kNotFilling;
// The largest blend level: the source alone.
constexpr int32_t kFullLevel = 255;
constexpr int32_t kLevelScale = 256;

bool LeavesGaps(const DrawFlagInputs &inputs) {
  return inputs.fitMode == 0 || inputs.fitMode == 3 || (inputs.fitMode == 1 && inputs.keepAspect != 0);
}

} // namespace

uint16_t ClampOpacity(uint16_t opacity) { return std::min<uint16_t>(opacity, DrawFlags::kOpaque); }

void Apply(DrawFlags &flags, const DrawFlagInputs &inputs) {
  if (inputs.empty)
    flags.Add(inputs.childrenEmpty ? uint16_t(DrawFlags::kEmpty | kUncovered) : kUncovered);
  if (inputs.hasLinkedResource && (inputs.transparencyKind != 0 || LeavesGaps(inputs) || inputs.linkedIsMetafile))
    flags.Add(kUncovered);
  flags.transparency = DrawFlags::kOpaque - ClampOpacity(inputs.opacity);
  flags.blendX = inputs.blendX;
  flags.blendY = inputs.blendY;
  if (flags.transparency != 0)
    flags.Add(DrawFlags::kOpacity);
  if (inputs.blendX != 0 || inputs.blendY != 0)
    flags.Add(DrawFlags::kBlendOffset);
  if ((inputs.transparentColourFlag & 1) != 0)
    flags.Add(DrawFlags::kKeyColour);
  else
    flags.word = static_cast<uint16_t>(flags.word & ~DrawFlags::kKeyColour);
  if (inputs.hasEffect)
    flags.Add(DrawFlags::kEffect);
  if (inputs.moves)
    flags.Add(DrawFlags::kMoves);
  if (inputs.shadowX != 0 || inputs.shadowY != 0)
    flags.Add(DrawFlags::kShadow);
}

bool NeedsParentCapture(const DrawFlags &flags) {
  return flags.Has(DrawFlags::kKeyColour | DrawFlags::kOpacity | DrawFlags::kCapturesBackground);
}

SurfaceChoice ChooseSurfaces(DrawFlags &flags, bool suitsDisplayDepth) {
  SurfaceChoice choice;
  if (flags.Has(DrawFlags::kEmpty)) {
    choice.kind = SurfaceChoice::kNothing;
    return choice;
  }
  choice.mask = flags.Has(DrawFlags::kNotFilling);
  if (!suitsDisplayDepth) {
    flags.Add(DrawFlags::kDepthMismatch);
    choice.kind = SurfaceChoice::kPair;
    choice.blending = true;
    return choice;
  }
  constexpr uint16_t kOwnSurface = DrawFlags::kEffect | DrawFlags::kKeyColour | DrawFlags::kOpacity |
                                   DrawFlags::kBlendOffset | DrawFlags::kDepthMismatch;
  const bool needsSurface = flags.HasAll(DrawFlags::kMoves | DrawFlags::kDefault) || flags.Has(kOwnSurface) ||
                            flags.HasAll(DrawFlags::kShadow | DrawFlags::kNotFilling);
  if (!needsSurface) {
    choice.kind = SurfaceChoice::kDirect;
    choice.mask = false;
    return choice;
  }
  choice.kind = SurfaceChoice::kSingle;
  choice.blending = flags.Has(DrawFlags::kOpacity);
  return choice;
}

bool IsTransparent(const DrawFlags &flags, bool visible, bool effectRunning) {
  return !visible || effectRunning ||
         flags.Has(DrawFlags::kNotCovering | DrawFlags::kOpacity | DrawFlags::kShadow | DrawFlags::kEmpty);
}

bool Blends(const DrawFlags &flags, int32_t extraTransparency) {
  return flags.Has(DrawFlags::kOpacity) || extraTransparency != 0;
}

int32_t BlendLevel(int32_t transparency, int32_t extraTransparency) {
  const int32_t own = std::clamp(kFullLevel - transparency, 0, kFullLevel);
  const int32_t extra = std::clamp(kFullLevel - extraTransparency, 0, kFullLevel);
  return own * extra / kLevelScale;
}

VORRect ScreenRect(const VORRect &rect, int32_t shadowX, int32_t shadowY) {
  VORRect screen = rect;
  if (shadowX < 0)
    screen.left += shadowX;
  else
    screen.right += shadowX;
  if (shadowY < 0)
    screen.top += shadowY;
  else
    screen.bottom += shadowY;
  return screen;
}

void ShadowStrips(const VORRect &rect, int32_t shadowX, int32_t shadowY, VORRect &vertical, VORRect &horizontal) {
  const VORRect moved = rect.Offset(shadowX, shadowY);
  vertical = moved;
  if (shadowX > 0)
    vertical.left = rect.right;
  else
    vertical.right = rect.left;
  horizontal = moved;
  if (shadowX > 0)
    horizontal.right = rect.right;
  else
    horizontal.left = rect.left;
  if (shadowY > 0)
    horizontal.top = rect.bottom;
  else
    horizontal.bottom = rect.top;
}

} // namespace DrawFlagRules
