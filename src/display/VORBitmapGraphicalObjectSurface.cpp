#include "display/VORBitmapGraphicalObjectSurface.h"

#include <algorithm>

#include "display/DrawingContext.h"
#include "display/VORPaintable.h"
#include "display/VORView.h"

VORBitmapGraphicalObjectSurface::VORBitmapGraphicalObjectSurface(VORPaintable *object, bool maskAsked, bool dibAsked,
                                                                 VORView *parentView, int32_t depth, bool drawsItself,
                                                                 VORDrawingSurface *owner)
    : VORBitmapObjectSurface(object->GetRect(), owner), m_object(object), m_drawsItself(drawsItself) {
  SetParentView(parentView);
  const bool dib = dibAsked || (parentView != nullptr && parentView->WantsDibSurfaces());
  const bool mask = maskAsked || (parentView != nullptr && parentView->WantsMaskSurfaces());
  MakeBitmap(dib, mask, depth);
}

void VORBitmapGraphicalObjectSurface::RedrawRect(const VORRect &rect) {
  DrawingContext *context = GetDrawingContext();
  if (context == nullptr) {
    return;
  }
  if (HasMask()) {
    context->FillMaskBlack(rect);
  }
  if (m_inner != nullptr) {
    m_inner->FlushDirtyRects();
    m_inner->CopyToContext(rect, rect, nullptr, context, 0);
    return;
  }
  m_object->DrawInto(rect, *context);
}

void VORBitmapGraphicalObjectSurface::CopyToContext(const VORRect &source, const VORRect &destination,
                                                    DrawingContext *extraMask, DrawingContext *destinationContext,
                                                    int32_t transparency) {
  if (!m_drawsItself) {
    VORBitmapObjectSurface::CopyToContext(source, destination, extraMask, destinationContext, transparency);
    return;
  }
  DrawingContext *target = destinationContext;
  if (target == nullptr && GetOwner() != nullptr) {
    target = GetOwner()->GetDrawingContext();
  }
  if (target != nullptr) {
    m_object->BlitFromSurface(source, *this, *target, transparency);
  }
  ReleaseContexts();
}

void VORBitmapGraphicalObjectSurface::NotifyOwner(const VORRect &rect) {
  if (GetOwner() == nullptr) {
    return;
  }
  VORRect dirty = rect;
  if (m_drawsItself) {
    m_object->AddShadowOffset(dirty);
  }
  GetOwner()->AddDirtyRect(dirty);
}

VORRect VORBitmapGraphicalObjectSurface::GetBounds() const {
  VORRect bounds = GetSurfaceBounds();
  const auto *owner = dynamic_cast<const VORBitmapObjectSurface *>(GetOwner());
  if (owner == nullptr) {
    return bounds;
  }
  const VORRect ownerBounds = owner->GetBounds();
  const int64_t right = bounds.left + kMaxOwnerMultiple * std::max<int64_t>(ownerBounds.Width(), 0);
  const int64_t bottom = bounds.top + kMaxOwnerMultiple * std::max<int64_t>(ownerBounds.Height(), 0);
  bounds.right = static_cast<int32_t>(std::min<int64_t>(bounds.right, right));
  bounds.bottom = static_cast<int32_t>(std::min<int64_t>(bounds.bottom, bottom));
  return bounds;
}
