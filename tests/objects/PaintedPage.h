#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "TestPicture.h"
#include "display/VORScreenBuffer.h"
#include "display/VORView.h"
#include "model/VORPlayerPage.h"
#include "objects/VORGraphicalObject.h"
#include "objects/VORPlayerForm.h"

using PlainGraphical = VORPlayerForm<VORGraphicalObject, VORGraphicalObject::VORGraphicalObjectProperties>;

// An interactive view without a window: it owns the page's screen buffer,
// whose pixels the tests read.
class BufferView : public VORView {
public:
  BufferView(int32_t depth, const VORRect &bounds);

  void Refresh() override {}
  bool Initialize() override { return true; }
  bool IsInteractive() override { return true; }
  void ShowPageInstance(VORPageInstance &instance) override { page = &instance; }
  void LeavePageInstance(VORPageInstance & /*instance*/) override { page = nullptr; }
  void PlayEnterTransition() override {}
  VORPageInstance *GetPageInstance() override { return page; }
  HWND__ *GetWindow() override { return nullptr; }
  VORScreenBuffer *GetScreenBuffer() override { return buffer.get(); }
  DrawingContext *GetDrawingContext() override { return nullptr; }
  int32_t GetBitsPerPixel() override { return m_depth; }
  void RedrawRect(const VORRect & /*rect*/) override {}

  VORPageInstance *page = nullptr;
  std::unique_ptr<VORScreenBuffer> buffer;

private:
  int32_t m_depth;
};

// A page of graphical objects, each showing a picture of its own, composed
// into the screen buffer of a view of the given depth.
class PaintedPage {
public:
  PaintedPage(int32_t depth, const VORRect &page);
  ~PaintedPage();
  PaintedPage(const PaintedPage &) = delete;
  PaintedPage &operator=(const PaintedPage &) = delete;

  // Above the objects added before. The object names a resource among its
  // children, so that it does not count as empty; the picture stands for
  // what that resource would give. With a parent: its last child.
  PlainGraphical &Add(const VORRect &rect, std::unique_ptr<TestPicture> picture, PlainGraphical *parent = nullptr);

  // Shown in the view: draw flags, surfaces, then every dirty rectangle
  // composed.
  void Compose();
  // The whole page composed again, the objects' surfaces as they are.
  void Repaint();

  uint32_t Pixel(int32_t x, int32_t y);
  // The object added last.
  PlainGraphical &Top() { return *m_pictures.back().first; }
  // Where objects of other classes go before Compose.
  VORPageInstance &Instance() { return m_page.GetMasterInstance(); }
  VORScreenBuffer &Buffer() { return *m_view.buffer; }

private:
  VORRect m_rect;
  BufferView m_view;
  VORPlayerPage m_page;
  std::vector<std::pair<PlainGraphical *, std::unique_ptr<TestPicture>>> m_pictures;
  bool m_shown = false;
  int32_t m_lastId = 0;
};
