#include "objects/VORBackground.h"

#include "display/DibImage.h"
#include "display/DisplaySettings.h"
#include "display/DrawingContext.h"
#include "display/DrawingContextSaver.h"
#include "display/Palette.h"
#include "foundation/VORRandomGenerator.h"
#include "model/VORClassRegistry.h"
#include "objects/VORImage.h"

namespace {

const ClassRegistration kBackground(VORBackground::kCategory, VORBackground::kCode, VORPlayerBackground::Create);

constexpr int kPaletteDisplayDepth = 8;
constexpr int kHighColourDisplayDepth = 16;

// The dithered forms write the locked pixels of the update rectangle (cut
// to the context's clip) and mark them opaque in the mask; fill is called
// with the block as an image and the area and gradient in its pixels.
template <class Fill>
bool FillLockedPixels(DrawingContext &context, const BackgroundGradient::Gradient &gradient, const VORRect &update,
                      Fill fill) {
  VORRect area = update;
  const VORRect clip = context.GetClipRect();
  if (clip != VORRect::NotSet() && !area.Intersect(update, clip)) {
    return true; // nothing of it shows
  }
  if (area.IsEmpty()) {
    return true;
  }
  VORRect locked = area;
  void *bits = nullptr, *maskBits = nullptr;
  BitmapInfoHeader *info = nullptr;
  context.LockPixels(locked, &bits, &maskBits, &info);
  DibImage image;
  BackgroundGradient::Gradient inBlock = gradient;
  inBlock.object = gradient.object.Offset(-locked.left, -locked.top);
  const bool written =
      bits != nullptr && image.Wrap(info, bits) && fill(image, area.Offset(-locked.left, -locked.top), inBlock);
  context.UnlockPixels(written);
  if (written) {
    context.FillMaskWhite(area);
  }
  return written;
}

} // namespace

VORBackground::~VORBackground() = default;

VORBackground::VORBackgroundProperties &VORBackground::GetBackgroundProperties() {
  return static_cast<VORBackgroundProperties &>(GetGraphicalProperties());
}

void VORBackground::DrawInto(const VORRect &rect, DrawingContext &context) {
  DrawingContextSaver saved(context);
  context.SetClipRect(rect);
  const VORBackgroundProperties &properties = GetBackgroundProperties();
  FillBackground(context, properties.fillKind, GetRect(), rect, properties.colour1, properties.colour2,
                 properties.direction);
  DrawChildren(rect, context);
}

bool VORBackground::IsEmpty(bool withChildren) {
  if (!VORGraphicalObject::IsEmpty(false) || GetBackgroundProperties().fillKind != kNoFill) {
    return false;
  }
  return !withChildren || AreChildrenEmpty();
}

void VORBackground::UpdateDrawFlags() {
  VORGraphicalObject::UpdateDrawFlags();
  // A plain colour with no picture over it is cheap to paint again, so it
  // need not keep a surface of its own when a sibling moves.
  if (GetBackgroundProperties().fillKind == kSolid && !HasImageChildShowing()) {
    RemoveDrawFlags(DrawFlags::kDefault);
  }
}

bool VORBackground::HasImageChildShowing() {
  bool found = false;
  ForEachChildObject([&found](VORObject &child) {
    auto *image = dynamic_cast<VORImage *>(&child);
    found = found || (image != nullptr && !image->IsEmpty(true));
  });
  return found;
}

void VORBackground::FillBackground(DrawingContext &context, int32_t fillKind, const VORRect &object,
                                   const VORRect &update, ColorRef colour1, ColorRef colour2, int32_t direction) {
  if (fillKind == kSolid) {
    context.SetPenColor(colour1);
    context.SetBrushColor(colour1);
    // A colour the device shows exactly needs only the part asked for; a
    // dithered one is drawn whole so that its pattern lines up.
    const bool exact = ::GetNearestColor(context.GetDC(), colour1) == colour1;
    context.DrawRectangle(exact ? update : object);
    context.DeletePen();
    context.DeleteBrush();
    return;
  }
  if (fillKind != kGradient) {
    return;
  }
  const BackgroundGradient::Gradient gradient{colour1, colour2, direction, object};
  const int depth = context.GetDeviceCaps(BITSPIXEL);
  bool filled = false;
  if (depth == kPaletteDisplayDepth) {
    filled = FillGradient8(context, gradient, update,
                           [](int32_t *numbers, size_t count) { VORRandomGenerator::Fill(numbers, count); });
  } else if (depth == kHighColourDisplayDepth) {
    filled = FillGradient16(context, gradient, update);
  }
  if (!filled) {
    FillGradientLines(context, gradient, update);
  }
}

bool VORBackground::FillGradient8(DrawingContext &context, const BackgroundGradient::Gradient &gradient,
                                  const VORRect &update, const BackgroundGradient::RandomSource &random) {
  Palette &palette = Palette::ForEightBit(GetDisplaySettings().applicationPalette);
  return FillLockedPixels(context, gradient, update,
                          [&](DibImage &image, const VORRect &area, const BackgroundGradient::Gradient &inBlock) {
                            return BackgroundGradient::Fill8(image, area, inBlock, palette, random);
                          });
}

bool VORBackground::FillGradient16(DrawingContext &context, const BackgroundGradient::Gradient &gradient,
                                   const VORRect &update) {
  return FillLockedPixels(context, gradient, update,
                          [](DibImage &image, const VORRect &area, const BackgroundGradient::Gradient &inBlock) {
                            return BackgroundGradient::Fill16(image, area, inBlock);
                          });
}

void VORBackground::FillGradientLines(DrawingContext &context, const BackgroundGradient::Gradient &gradient,
                                      const VORRect &update) {
  DrawingContextSaver saved(context);
  context.SetClipRect(update);
  const BackgroundGradient::StepRange steps = BackgroundGradient::VisibleSteps(gradient, update);
  bool penSet = false;
  ColorRef penColour = 0;
  for (int64_t step = steps.first; step < steps.last; ++step) {
    const BackgroundGradient::Line line = BackgroundGradient::LineAt(gradient, step);
    if (!penSet || line.colour != penColour) {
      context.SetPenColor(line.colour);
      penSet = true;
      penColour = line.colour;
    }
    context.DrawLine(line.x1, line.y1, line.x2, line.y2);
  }
  if (penSet) {
    context.DeletePen();
  }
}
