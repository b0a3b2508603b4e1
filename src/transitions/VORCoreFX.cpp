#include "transitions/VORCoreFX.h"

#include <windows.h>

#include "display/DrawingContext.h"
#include "display/VORBitmapObjectSurface.h"
#include "transitions/FXPicture.h"
#include "transitions/FXPictureStore.h"

void VORCoreFX::KeepPictures() {
  FXPictureStore::Keep(std::move(m_new));
  FXPictureStore::Keep(std::move(m_old));
  FXPictureStore::Keep(std::move(m_frame));
}

namespace {

// Copies the area (page coordinates) of a drawing context into a picture
// whose top-left corner is the area's.
void Capture(DrawingContext &from, HDC into, const VORRect &area) {
  const POINT origin = from.GetOrigin();
  ::BitBlt(into, 0, 0, static_cast<int>(area.Width()), static_cast<int>(area.Height()), from.GetDC(),
           area.left - origin.x, area.top - origin.y, SRCCOPY);
  ::GdiFlush();
}

} // namespace

VORCoreFX::VORCoreFX(VORBitmapObjectSurface *target, VORBitmapObjectSurface *oldPicture, VORDrawingSurface *completion,
                     std::unique_ptr<FXCore> core, uint32_t duration)
    : VORTimedFX(target, oldPicture, completion), m_core(std::move(core)) {
  SetDuration(duration);
}

VORCoreFX::~VORCoreFX() { KeepPictures(); }

void VORCoreFX::Prepare() {
  KeepPictures();
  m_area = VORRect(0, 0, 0, 0);
  VORRect area = GetRect();
  if (GetTarget() != nullptr && !area.Intersect(area, GetTarget()->GetBounds()))
    area = VORRect(0, 0, 0, 0);
  const int32_t width = static_cast<int32_t>(area.Width());
  const int32_t height = static_cast<int32_t>(area.Height());
  DrawingContext *newContext = GetTarget() != nullptr ? GetTarget()->GetDrawingContext() : nullptr;
  DrawingContext *oldContext = GetOldPicture() != nullptr ? GetOldPicture()->GetDrawingContext() : GetOutputContext();
  std::unique_ptr<FXPicture> fresh, old, frame;
  if (!area.IsEmpty() && newContext != nullptr) {
    fresh = FXPictureStore::Take(width, height);
    old = FXPictureStore::Take(width, height);
    frame = FXPictureStore::Take(width, height);
  }
  if (!fresh || !old || !frame) {
    // Nothing to compose: the effect ends at once.
    FXPictureStore::Keep(std::move(fresh));
    FXPictureStore::Keep(std::move(old));
    FXPictureStore::Keep(std::move(frame));
    m_total = 0;
    m_core->Prepare(0, 0, IsClosing());
    return;
  }
  Capture(*newContext, fresh->GetDC(), area);
  if (oldContext != nullptr)
    Capture(*oldContext, old->GetDC(), area);
  else
    old->image.Fill(0);
  FXCompose::Copy(frame->image, old->image, frame->image.Bounds());
  GetTarget()->ReleaseContexts();
  if (GetOldPicture() != nullptr)
    GetOldPicture()->ReleaseContexts();
  m_area = area;
  m_new = std::move(fresh);
  m_old = std::move(old);
  m_frame = std::move(frame);
  m_total = m_core->Prepare(width, height, IsClosing());
}

void VORCoreFX::DrawStep(int32_t step) {
  m_changed.clear();
  m_core->Step(step, m_changed);
  for (const VORRect &rect : m_changed)
    Report(rect.Offset(m_area.left, m_area.top));
}

void VORCoreFX::Paint(const VORRect &destination, const VORRect &source) {
  DrawingContext *output = GetOutputContext();
  if (output == nullptr)
    return;
  if (!m_frame) {
    // No pictures were taken: the new picture as it is.
    PaintNewPicture(destination, source);
    return;
  }
  VORRect part;
  if (!part.Intersect(source, m_area))
    return;
  const VORRect local = part.Offset(-m_area.left, -m_area.top);
  m_core->Compose(m_frame->image, m_old->image, m_new->image, local);
  const POINT origin = output->GetOrigin();
  const int32_t dx = destination.left - source.left;
  const int32_t dy = destination.top - source.top;
  ::BitBlt(output->GetDC(), part.left + dx - origin.x, part.top + dy - origin.y, static_cast<int>(part.Width()),
           static_cast<int>(part.Height()), m_frame->GetDC(), local.left, local.top, SRCCOPY);
}
