#pragma once

#include <memory>

#include "display/VORBitmapObjectSurface.h"
#include "display/VORTransition.h"

// The off-screen picture of the page a view shows. Flushing it composes the
// page objects that cover each dirty rectangle; presenting a rectangle copies
// it into the view's window, or lets the running page transition paint it.
// Every rectangle made dirty here is dirty in the view as well.
class VORScreenBuffer : public VORBitmapObjectSurface {
public:
  static constexpr uint32_t kWhite = 0xFFFFFF;

  // view: the view that owns the buffer (borrowed, may be null).
  VORScreenBuffer(VORView *view, const VORRect &pageRect);
  ~VORScreenBuffer() override;

  // Deletes the running transition and takes the given one (or none).
  void SetTransition(std::unique_ptr<VORTransition> effect);
  VORTransition *GetTransition() const { return m_transition.get(); }
  bool IsTransitionFinished() const;

  // A finished transition is deleted first.
  void FlushDirtyRects() override;
  // Composes one dirty rectangle: from the topmost opaque object that covers
  // it upward, over white when none does.
  void RedrawRect(const VORRect &rect) override;
  // While a transition runs it paints the rectangle; otherwise the buffer
  // copies it into the view.
  void PresentRect(const VORRect &source, const VORRect &destination);
  // Flushes, then copies into the context given or, without one, the view's.
  void CopyToTarget(const VORRect &source, const VORRect &destination, DrawingContext *extraMask,
                    DrawingContext *context);
  // Copies what the buffer holds now, without flushing.
  void CopyRectTo(const VORRect &source, const VORRect &destination, DrawingContext &context);

private:
  void DeleteFinishedTransition();
  void Fill(DrawingContext &context, const VORRect &rect, uint32_t colour);

  VORView *m_view;
  std::unique_ptr<VORTransition> m_transition;
};
