#include "objects/VORBorder.h"

#include "display/DrawingContext.h"
#include "display/DrawingContextSaver.h"
#include "display/MaskBitmap.h"
#include "images/ImageFactory.h"
#include "images/VORGfxImage.h"
#include "objects/VORRecordForm.h"
#include "objects/VORResourceObject.h"

namespace {

const PlayerFormRegistration kBorder(VORBorder::kCategory, VORBorder::kCode, VORPlayerBorder::Create);

// Mask AND source: what lies outside the shape becomes transparent.
constexpr DWORD kMaskAnd = SRCAND;
// Metafile pens and brushes of this colour play hollow in a picture border.
constexpr COLORREF kPictureKeyColour = RGB(255, 0, 255);

int PenStyleFor(int32_t width) { return width != 0 ? PS_INSIDEFRAME : PS_NULL; }

void DrawShape(DrawingContext &context, const BorderGeometry::Outline &outline) {
  if (outline.ellipse) {
    context.DrawEllipse(outline.rect);
  } else if (outline.radius > 0) {
    context.DrawRoundRect(outline.rect, 2 * outline.radius, 2 * outline.radius);
  } else {
    context.DrawRectangle(outline.rect);
  }
}

// A one-bit mask of the part of the border's rectangle being painted (the
// context's clip), black at first, into which draw puts the shape in white
// (its context's origin is the part's corner); then the shape is cut out of
// the context's mask there. Only the part: the object may be far larger
// than any update, and a mask of all of it would be made on every paint.
template <class Draw>
void CutOutOfMask(DrawingContext &context, const VORRect &rect, Draw draw) {
  VORRect part = rect;
  const VORRect clip = context.GetClipRect();
  if (!clip.IsEmpty() && !part.Intersect(rect, clip)) {
    return;
  }
  int32_t width = 0, height = 0;
  if (!BorderGeometry::MaskSize(part, width, height)) {
    return;
  }
  MaskBitmap mask(width, height);
  DrawingContext *shape = mask.GetDrawingContext();
  if (shape == nullptr) {
    return;
  }
  shape->SetOrigin(part.left, part.top);
  draw(*shape);
  shape->CopyMaskTo(context, part, part, kMaskAnd);
}

} // namespace

VORBorder::VORBorder(uint32_t classKey, int32_t id) : VORGraphicalObject(classKey, id) {}

VORBorder::VORBorder(const VORBorder &other) : VORGraphicalObject(other) {}

VORBorder::~VORBorder() = default;

VORBorder::VORBorderProperties &VORBorder::GetBorderProperties() {
  return static_cast<VORBorderProperties &>(GetGraphicalProperties());
}

BorderGeometry::Border VORBorder::Geometry() {
  const VORBorderProperties &properties = GetBorderProperties();
  BorderGeometry::Border border;
  border.style = properties.style;
  border.rect = GetRect();
  border.width = BorderGeometry::LengthOf(properties.width);
  border.radius = BorderGeometry::LengthOf(properties.radius);
  border.first = properties.colour1;
  border.second = properties.colour2;
  return border;
}

void VORBorder::DrawInto(const VORRect &rect, DrawingContext &context) {
  DrawBorder(rect, context);
  DrawChildren(rect, context);
}

void VORBorder::DrawBorder(const VORRect &update, DrawingContext &context) {
  DrawingContextSaver saved(context);
  context.SetClipRect(update);
  const BorderGeometry::Border border = Geometry();
  switch (border.style) {
  case BorderGeometry::kLine:
  case BorderGeometry::kDoubleLine:
  case BorderGeometry::kGradedRings:
  case BorderGeometry::kEllipse:
    DrawOutlines(border, context);
    break;
  case BorderGeometry::kPicture:
    DrawImageBorder(border, context);
    break;
  case BorderGeometry::kBevel:
  case BorderGeometry::kInvertedBevel:
    DrawBevelBorder(border, context);
    break;
  default:
    break;
  }
}

void VORBorder::DrawOutlines(const BorderGeometry::Border &border, DrawingContext &context) {
  const std::vector<BorderGeometry::Outline> outlines = BorderGeometry::Outlines(border);
  context.SetNullBrush();
  for (const BorderGeometry::Outline &outline : outlines) {
    context.SetPen(outline.penWidth, outline.colour, PenStyleFor(outline.penWidth));
    DrawShape(context, outline);
  }
  context.DeletePen();
  context.DeleteBrush();
  if (!BorderGeometry::CutsMask(border)) {
    return;
  }
  // Filled in white, the first outline covers the whole shape.
  CutOutOfMask(context, border.rect, [&outlines](DrawingContext &shape) {
    shape.SetMaskBrush(true);
    for (const BorderGeometry::Outline &outline : outlines) {
      shape.SetMaskPen(true, outline.penWidth, PenStyleFor(outline.penWidth));
      DrawShape(shape, outline);
    }
    shape.DeletePen();
    shape.DeleteBrush();
  });
}

void VORBorder::DrawBevelBorder(const BorderGeometry::Border &border, DrawingContext &context) {
  const int32_t opacity = GetBorderProperties().borderOpacity;
  if (opacity >= BorderGeometry::kSolidOpacity) {
    for (const BorderGeometry::BevelLine &line : BorderGeometry::BevelLines(border)) {
      context.SetPenColor(line.colour);
      context.DrawLine(line.x1, line.y1, line.x2, line.y2);
    }
    context.DeletePen();
    return;
  }
  for (const BorderGeometry::BevelStrip &strip : BorderGeometry::BevelStrips(border)) {
    context.BlendFillRect(strip.rect, strip.colour, opacity);
  }
}

void VORBorder::DrawImageBorder(const BorderGeometry::Border &border, DrawingContext &context) {
  const bool madeForThisPaint = m_borderImage == nullptr;
  if (madeForThisPaint && !LoadBorderImage()) {
    return;
  }
  const VORRect clip = context.GetClipRect();
  context.SetKeyColor(kPictureKeyColour);
  m_borderImage->Draw(context, border.rect, clip);
  CutOutOfMask(context, border.rect, [this, &border, &clip](DrawingContext &shape) {
    shape.SetKeyColor(kPictureKeyColour);
    m_borderImage->Draw(shape, border.rect, clip);
  });
  if (madeForThisPaint) {
    m_borderImage.reset();
  }
}

bool VORBorder::LoadBorderImage() {
  const VORObjectCode &reference = GetBorderProperties().borderImage;
  VORResourceObject *resource =
      VORGraphicalObjectProperties::IsSet(reference) ? FindResourceObject(reference) : nullptr;
  const uint32_t handle = resource != nullptr ? resource->AcquireResource(0) : 0;
  if (handle == 0) {
    return false;
  }
  // The whole picture stretched over the rectangle, keeping its aspect.
  m_borderImage = CreateImageForResource(handle, ImageLayout(), GetRect());
  return m_borderImage != nullptr;
}

bool VORBorder::IsEmpty(bool withChildren) {
  if (!VORGraphicalObject::IsEmpty(false) || GetBorderProperties().style != BorderGeometry::kNone) {
    return false;
  }
  return !withChildren || AreChildrenEmpty();
}

void VORBorder::UpdateDrawFlags() {
  // A border never covers its rectangle.
  RemoveDrawFlags(DrawFlags::kNotCovering | DrawFlags::kDefault | DrawFlags::kNotFilling);
  AddDrawFlags(DrawFlags::kNotCovering | DrawFlags::kNotFilling);
  const BorderGeometry::Border border = Geometry();
  const bool bevel = border.style == BorderGeometry::kBevel || border.style == BorderGeometry::kInvertedBevel;
  const bool cutsShape =
      border.radius != 0 || border.style == BorderGeometry::kEllipse || border.style == BorderGeometry::kPicture;
  // The shape cut out of the mask needs a surface with a mask below it.
  if (auto *parent = dynamic_cast<VORGraphicalObject *>(GetParent()); parent != nullptr && !bevel && cutsShape) {
    parent->AddDrawFlags(DrawFlags::kDepthMismatch | DrawFlags::kNotFilling | DrawFlags::kNotCovering);
  }
  if (border.style == BorderGeometry::kNone && AreChildrenEmpty()) {
    AddDrawFlags(DrawFlags::kEmpty);
  }
  VORGraphicalObject::UpdateDrawFlags();
}

void VORBorder::LeavePage(bool visible) {
  VORGraphicalObject::LeavePage(visible);
  m_borderImage.reset();
}

void VORBorder::GetInnerRect(VORRect &inner) { inner = BorderGeometry::InnerRect(Geometry()); }
