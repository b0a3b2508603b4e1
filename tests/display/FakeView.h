#pragma once

#include <memory>

#include "GdiCanvas.h"
#include "display/DrawingContext.h"
#include "display/VORView.h"

// A view whose window is a canvas: what the screen buffer presents lands in
// the canvas at client coordinates (page coordinates minus the bounds'
// top-left corner).
class FakeView : public VORView {
public:
  FakeView(GdiCanvas &window, const VORRect &bounds) : VORView(VORObjectCode::MakeClassKey(0, 3), 1), m_window(window) {
    SetBounds(bounds);
  }

  void Refresh() override {}
  bool Initialize() override { return true; }
  void ShowPageInstance(VORPageInstance &instance) override { page = &instance; }
  void LeavePageInstance(VORPageInstance & /*instance*/) override { page = nullptr; }
  void PlayEnterTransition() override {}
  VORPageInstance *GetPageInstance() override { return page; }
  HWND__ *GetWindow() override { return nullptr; }
  VORScreenBuffer *GetScreenBuffer() override { return nullptr; }
  DrawingContext *GetDrawingContext() override {
    if (!m_context) {
      m_context = std::make_unique<DrawingContext>(m_window.dc(), nullptr);
      m_context->SetOrigin(GetSurfaceBounds().left, GetSurfaceBounds().top);
    }
    return m_context.get();
  }
  int32_t GetBitsPerPixel() override { return depth; }
  void RedrawRect(const VORRect &) override {}

  VORPageInstance *page = nullptr;
  int32_t depth = 32;

private:
  GdiCanvas &m_window;
  std::unique_ptr<DrawingContext> m_context;
};
