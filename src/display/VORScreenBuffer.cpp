#include "display/VORScreenBuffer.h"

#include <vector>

#include "display/CompositionOrder.h"
#include "display/DrawingContext.h"
#include "display/VORPaintable.h"
#include "display/VORView.h"
#include "model/VORPageInstance.h"

namespace {

VORBitmapObjectSurface::Params BufferParams(VORView *view, const VORRect &pageRect) {
  VORBitmapObjectSurface::Params params;
  params.rect = pageRect;
  params.parentView = view;
  params.owner = view;
  return params;
}

} // namespace

VORScreenBuffer::VORScreenBuffer(VORView *view, const VORRect &pageRect)
    : VORBitmapObjectSurface(BufferParams(view, pageRect)), m_view(view) {}

VORScreenBuffer::~VORScreenBuffer() { m_transition.reset(); }

void VORScreenBuffer::SetTransition(std::unique_ptr<VORTransition> effect) {
  m_transition.reset();
  m_transition = std::move(effect);
}

bool VORScreenBuffer::IsTransitionFinished() const { return !m_transition || m_transition->IsFinished(); }

void VORScreenBuffer::DeleteFinishedTransition() {
  if (m_transition && m_transition->IsFinished()) {
    m_transition.reset();
  }
}

void VORScreenBuffer::FlushDirtyRects() {
  DeleteFinishedTransition();
  VORBitmapObjectSurface::FlushDirtyRects();
}

void VORScreenBuffer::Fill(DrawingContext &context, const VORRect &rect, uint32_t colour) {
  context.SetPenColor(colour);
  context.SetBrushColor(colour);
  context.DrawRectangle(rect);
  context.DeletePen();
  context.DeleteBrush();
}

void VORScreenBuffer::RedrawRect(const VORRect &rect) {
  DrawingContext *context = GetDrawingContext();
  if (context == nullptr) {
    return;
  }
  const VORRecursiveObjectContainer *page = m_view != nullptr ? m_view->GetPageInstance() : nullptr;
  const std::vector<VORPaintable *> objects =
      page != nullptr ? CompositionOrder::GraphicalChildren(*page) : std::vector<VORPaintable *>();
  size_t start = CompositionOrder::FindStart(objects, rect);
  if (start == CompositionOrder::kClearFirst) {
    Fill(*context, rect, kWhite);
    start = 0;
  }
  for (size_t i = start; i < objects.size(); ++i) {
    objects[i]->Paint(rect, *context);
  }
}

void VORScreenBuffer::PresentRect(const VORRect &source, const VORRect &destination) {
  DeleteFinishedTransition();
  if (m_transition) {
    m_transition->Paint(destination, source);
    return;
  }
  CopyToTarget(source, destination, nullptr, nullptr);
}

void VORScreenBuffer::CopyToTarget(const VORRect &source, const VORRect &destination, DrawingContext *extraMask,
                                   DrawingContext *context) {
  FlushDirtyRects();
  DrawingContext *target = context;
  if (target == nullptr && m_view != nullptr) {
    target = m_view->GetDrawingContext();
  }
  DrawingContext *own = GetDrawingContext();
  if (target != nullptr && own != nullptr) {
    own->CopyTo(*target, extraMask, source, destination);
  }
  ReleaseContexts();
}

void VORScreenBuffer::CopyRectTo(const VORRect &source, const VORRect &destination, DrawingContext &context) {
  if (m_view == nullptr) {
    return;
  }
  DrawingContext *own = GetDrawingContext();
  if (own != nullptr) {
    own->CopyTo(context, nullptr, source, destination);
  }
  ReleaseContexts();
}
