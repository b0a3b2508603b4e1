#include "printing/VORPrinterView.h"

#include "display/CompositionOrder.h"
#include "display/SurfaceBitmapPool.h"
#include "display/VORScreenBuffer.h"
#include "foundation/VORException.h"
#include "model/VORPageInstance.h"

namespace {

constexpr const char *kViewProperty = "VORPrinterView";

} // namespace

VORPrinterView::~VORPrinterView() {
  HWND window = GetWindow();
  if (window != nullptr && ::IsWindow(window)) {
    ::RemovePropA(window, kViewProperty);
    if (m_viewProc != nullptr)
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_viewProc));
  }
}

bool VORPrinterView::Create(HINSTANCE instance, const VORRect &pageRect) {
  if (!CreateViewWindow(instance, nullptr, kWindowStyle))
    return false;
  HWND window = GetWindow();
  ::SetPropA(window, kViewProperty, this);
  m_viewProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&VORPrinterView::WindowProc)));
  MoveToCorner(pageRect);
  return true;
}

LRESULT CALLBACK VORPrinterView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto *view = static_cast<VORPrinterView *>(::GetPropA(window, kViewProperty));
  if (view == nullptr)
    return ::DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_CLOSE) {
    view->m_failed = true;
    return 0;
  }
  return ::CallWindowProcA(view->m_viewProc, window, message, wParam, lParam);
}

void VORPrinterView::MoveToCorner(const VORRect &pageRect) {
  const int width = pageRect.right + 2 * ::GetSystemMetrics(SM_CXFRAME);
  const int height = pageRect.bottom + 2 * ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYCAPTION);
  ::MoveWindow(GetWindow(), 0, 0, width, height, TRUE);
}

void VORPrinterView::ShowPageInstance(VORPageInstance &instance) {
  try {
    VORPlayerView::ShowPageInstance(instance);
    MoveToCorner(instance.GetPageRect());
    ::InvalidateRect(GetWindow(), nullptr, FALSE);
    ::UpdateWindow(GetWindow());
  } catch (VORNewFailException &failure) {
    failure.Report();
    m_failed = true;
  } catch (VORException *failure) {
    failure->Report();
    delete failure;
    m_failed = true;
  }
}

void VORPrinterView::PlayEnterTransition() {
  FitPageToEnteredContent();
  if (VORPageInstance *instance = GetPageInstance())
    CompositionOrder::PrepareLevel(*instance);
  SurfaceBitmapPool::Trim();
  if (VORScreenBuffer *buffer = GetScreenBuffer()) {
    buffer->AddDirtyRect(GetPageRect());
    buffer->FlushDirtyRects();
  }
}
